#!/usr/bin/env bash
# Compiles the help file from the topics in this folder:
#   build-help.sh <stage folder> <output .CHM>
# The topics are kept in UTF-8; the HTML Help viewer reads the contents, the index and the full-text
# search in the help's own code page, so everything goes into the stage folder in CP1251 first.
# A picture that is not there yet (its window has not been photographed) is left out of its topic
# together with its paragraph, so that no topic shows a broken picture.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
stage="$1"
output="$2"

rm -rf "$stage"
mkdir -p "$stage/images"
cp "$here"/images/*.png "$stage/images/" 2>/dev/null || true

for source in "$here"/*.html "$here"/*.css "$here"/*.hhp "$here"/*.hhc "$here"/*.hhk; do
  name="$(basename "$source")"
  missing=()
  for picture in $(grep -o 'src="images/[^"]*"' "$source" | sed 's/^src="images\///; s/"$//' || true); do
    [ -f "$here/images/$picture" ] || missing+=("$picture")
  done
  text="$(sed 's/charset=utf-8/charset=windows-1251/I' "$source")"
  for picture in "${missing[@]}"; do
    echo "build-help: $name: no picture images/$picture yet; its paragraph is left out"
    text="$(printf '%s\n' "$text" | grep -vF "src=\"images/$picture\"")"
  done
  if ! printf '%s\n' "$text" | iconv -f UTF-8 -t CP1251 >"$stage/$name"; then
    echo "build-help: $name has a character that code page 1251 lacks" >&2
    exit 1
  fi
done

cd "$stage"
if ! log="$(chmcmd --verbosity 1 Morvane.hhp 2>&1)"; then
  printf '%s\n' "$log" >&2
  exit 1
fi
[ -s Morvane.CHM ] || { printf '%s\n' "$log" >&2; echo "build-help: chmcmd made no file" >&2; exit 1; }
mkdir -p "$(dirname "$output")"
cp Morvane.CHM "$output"
