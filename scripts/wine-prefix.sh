#!/usr/bin/env bash
# Prepares a throwaway wine prefix for running the Windows build: created once, then reused.
#   scripts/wine-prefix.sh <prefix-dir>
# No crash dialog (a crash ends the process), no window-manager round trips, quiet wine.
set -euo pipefail
prefix="$(realpath -m "$1")"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's helpers must not hold our caller's pipes open.
exec </dev/null

if [ ! -f "$prefix/.morvane-ready" ]; then
  rm -rf "$prefix"
  mkdir -p "$(dirname "$prefix")"
  echo "wine-prefix: creating $prefix"
  env LC_ALL=ru_RU.UTF-8 WINEARCH=win32 wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.morvane-ready"
fi
