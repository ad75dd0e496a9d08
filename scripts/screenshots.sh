#!/usr/bin/env bash
# Screenshots of every window of the server, as PNG files, for the README and the help file:
#   scripts/screenshots.sh [BUILD_DIR [OUT_DIR]]
# BUILD_DIR is a 32-bit Windows build (default build/win32, configured and built here as far as
# needed); OUT_DIR defaults to BUILD_DIR/screenshots. It runs the real program under wine on a
# private Xvfb display (1280x800) in a prefix of its own (BUILD_DIR/screenshot-prefix), with the
# demo profile of scripts/run.sh and a few simulated exchanges in the log, and writes:
#   main.png              the main window
#   tray-menu.png         the notification-area menu
#   log-menu.png          the main window with the "Лог" menu open
#   about.png             the about box
#   options-general.png, options-download.png, options-upload.png
#                         the pages of the options dialog ("Настройки"), when the build has it
# A window that does not show is reported and skipped; the others are still taken. Exit code 1
# when the server does not start or the main window cannot be taken.
set -uo pipefail
cd "$(dirname "$0")/.."
build="$(realpath -m "${1:-build/win32}")"
out="$(realpath -m "${2:-$build/screenshots}")"
prefix="$build/screenshot-prefix"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset win32 -B "$build" >/dev/null || exit 1
fi
cmake --build "$build" -j "$(nproc)" --target Morvane CipherLab9x00 terminal-sim morvane-control \
  >/dev/null || { echo "screenshots: the build failed" >&2; exit 1; }

source scripts/server-session.sh
source scripts/demo-profile.sh
session_begin private || exit 1
mkdir -p "$out"
# Inside the prefix, so that the log shows short paths (C:\Terminals\...), as on a real machine.
dir="$prefix/drive_c/Terminals"
demo_files "$dir"
port=$(session_free_port 5600)
demo_settings "$dir" "$port" || exit 1
session_start_server "$dir" || { echo "screenshots: the server did not start" >&2; exit 1; }
started=$(date +%s)
session_control wait-log "Сервер запущен!" 10000 >/dev/null

# A few exchanges, so that the log shows what a working day looks like.
sim() { session_wine "$build/tools/simulator/terminal-sim.exe" "$@" --port "$port" >/dev/null; }
sim download --serial 12345678 --base 1 --out "$dir/terminal/goods.txt"
sim download --serial 12345678 --base 2 --out "$dir/terminal/prices.txt"
sim upload --serial 12345678 --base 1 --kind 2 --file "$dir/terminal/inventory.txt"
sim download --serial 87654321 --base 4 --out "$dir/terminal/none.txt"
# The start-up balloon of the notification icon stays up to 10 s and covers the toolbar.
while [ $(($(date +%s) - started)) -lt 11 ]; do sleep 1; done

taken=()
skipped=()
# shot NAME TARGET...: the screen cut to the targets' windows (see morvane-control rect).
shot() {
  local name=$1 geometry
  shift
  sleep 0.7  # let the window paint
  if geometry=$(session_control rect "$@" | tr -d '\r') && [ -n "$geometry" ]; then
    import -window root -crop "$geometry" +repage "$out/$name.png" && taken+=("$name.png") && return 0
  fi
  skipped+=("$name.png")
  return 1
}

shot main main || { echo "screenshots: the main window did not show" >&2; exit 1; }

session_control tray-menu 1200 760 >/dev/null
shot tray-menu menu
session_control dismiss menu >/dev/null 2>&1
sleep 0.5

session_control command 1034 >/dev/null  # the "Лог" button
shot log-menu main menu
session_control dismiss menu >/dev/null 2>&1
sleep 0.5

session_control command 32774 >/dev/null  # "О программе"
session_control wait-window "О программе" 5000 >/dev/null && shot about "О программе" ||
  skipped+=("about.png")
session_control dismiss "О программе" >/dev/null 2>&1
sleep 0.5

session_control command 1000 >/dev/null  # "Настройки"
if session_control wait-window "Настройки" 5000 >/dev/null; then
  page=0
  for name in options-general options-download options-upload; do
    session_control tab "Настройки" "$page" >/dev/null
    shot "$name" "Настройки"
    page=$((page + 1))
  done
else
  skipped+=(options-general.png options-download.png options-upload.png)
fi
session_control dismiss "Настройки" >/dev/null 2>&1

session_close_server
echo "screenshots: written to $out: ${taken[*]}"
[ ${#skipped[@]} -gt 0 ] && echo "screenshots: not shown in this build, skipped: ${skipped[*]}"
exit 0
