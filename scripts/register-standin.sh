#!/usr/bin/env bash
# Registers the stand-in communication component of a Windows build in the current WINEPREFIX.
#   scripts/register-standin.sh <build-dir>
# Wine ignores per-user class registrations, so it is registered machine-wide here.
set -euo pipefail
dll="$1/src/standin/CipherLab9x00.dll"
if [ ! -f "$dll" ]; then
  echo "register-standin: $dll not built yet, skipped"
  exit 0
fi
env LC_ALL=ru_RU.UTF-8 wine regsvr32 /s /n /i:machine "$(winepath -w "$dll" 2>/dev/null)" </dev/null >/dev/null 2>&1
