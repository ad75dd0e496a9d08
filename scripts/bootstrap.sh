#!/usr/bin/env bash
# Installs, idempotently, everything the build and the tests need on a Debian machine.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev lld clang-format
  googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64
  wine wine32:i386 wine64 fonts-wine
  xvfb xauth x11-utils tzdata
  fp-utils-3.2.2 p7zip-full
  nsis imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
echo "bootstrap: toolchain ready"
