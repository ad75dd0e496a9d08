#!/usr/bin/env bash
# Runs a Windows program of the build under wine, in the throwaway test prefix and never in the
# user's own one. The test script exports MORVANE_WINEPREFIX and DISPLAY; a bare ctest run from a
# build folder falls back to the build's own prefix.
set -u
export WINEPREFIX="${MORVANE_WINEPREFIX:-$PWD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# ANSI code page 1251 and Moscow time, as on the Russian Windows the server runs on; a local time
# other than UTC shows any time that should be UTC and is not.
exec env LC_ALL=ru_RU.UTF-8 TZ=Europe/Moscow wine "$@"
