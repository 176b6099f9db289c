#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, and the packages named as
# arguments (the benchmark's own). Safe to run again: when every package is already there it
# only checks and returns.
set -euo pipefail

packages=(
  cmake make python3 locales
  g++-mingw-w64-i686 mingw-w64-tools
  wine wine32:i386 wine64 wine64-tools
  xvfb xauth xdotool imagemagick
  googletest liblnk-utils icoutils libimage-exiftool-perl
  fonts-wqy-microhei fonts-liberation
  osslsigncode openssl
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
