# Sourced, not run: sets up what every Windows program of a build needs under wine and stops it
# all when the sourcing script exits.
#   build=<absolute build dir>; source scripts/wine-session.sh
# Gives: the build's private prefix (<build>/wineprefix, code page 1251), a private Xvfb display,
# and a wineserver kept warm. Wine's helper processes never inherit the caller's pipes.

export MORVANE_WINEPREFIX="$build/wineprefix"
export WINEPREFIX="$MORVANE_WINEPREFIX" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scripts/wine-prefix.sh "$MORVANE_WINEPREFIX" || exit 1

wine_session_display_file="$(mktemp)"
Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$wine_session_display_file" \
  >/dev/null 2>&1 &
wine_session_xvfb_pid=$!
wine_session_cleanup() {
  wineserver -k >/dev/null 2>&1
  kill "$wine_session_xvfb_pid" >/dev/null 2>&1
  wait "$wine_session_xvfb_pid" 2>/dev/null
  rm -f "$wine_session_display_file"
}
trap wine_session_cleanup EXIT
for _ in $(seq 100); do [ -s "$wine_session_display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$wine_session_display_file")"

wineserver -p </dev/null >/dev/null 2>&1
env LC_ALL=ru_RU.UTF-8 wine wineboot </dev/null >/dev/null 2>&1
