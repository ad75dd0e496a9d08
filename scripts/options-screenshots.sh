#!/usr/bin/env bash
# Pictures of the options dialog's pages, made by the program's own classes and templates under
# wine (code page 1251, a private display):
#   scripts/options-screenshots.sh [<win32 build dir>] [<output folder>]
# Defaults: build/win32 and <build>/screenshots. Writes options-1-general.png,
# options-2-download-shared.png, options-3-download-own.png and options-4-upload.png.
set -uo pipefail
cd "$(dirname "$0")/.."
build="$(realpath "${1:-build/win32}")"
out="$(realpath -m "${2:-$build/screenshots}")"
tool="$build/tools/screenshots/options-screenshots.exe"
[ -f "$tool" ] || { echo "build it first: cmake --build $build --target options-screenshots"; exit 1; }
mkdir -p "$out"

source scripts/wine-session.sh
env LC_ALL=ru_RU.UTF-8 wine "$tool" "$(winepath -w "$out")" </dev/null >/dev/null 2>&1
status=$?
for bmp in "$out"/options-*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$out"/options-*.png
exit $status
