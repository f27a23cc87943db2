#!/usr/bin/env bash
# setup.sh: installs what Tavolin's build, tests, release archives and main
# job (its screenshot included) need on Debian 12.
# Idempotent and silent when everything is present. The SQLite amalgamation
# comes last, from tools/sqlite.sh (dpkg-dev and tcl build it). Never installs wine32 or
# any i386 package: with them, wine picks a 32-bit loader that cannot run here.
set -euo pipefail
# Fonts: Liberation Sans and Mono measure as Arial and Courier New and
# cover Latin, Greek and Cyrillic; VL Gothic (kanji half an em wide on
# average, as the narrow list face needs) covers Japanese, Noto Sans CJK
# Korean;
# Symbola (monochrome outlines) covers emoji and symbols; fonts-wine has the
# Marlett symbols of the caption buttons.
packages=(cmake make g++ googletest clang libclang-rt-14-dev
          wine wine64 g++-mingw-w64-x86-64 xvfb imagemagick xdotool
          zip unzip groff-base dpkg-dev tcl
          fonts-liberation fonts-noto-cjk fonts-vlgothic fonts-symbola fonts-wine)
missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: must run as root to install packages" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/tmp/tavolin-setup.log 2>&1 || {
    tail -n 30 /tmp/tavolin-setup.log >&2; exit 1; }
fi
"$(dirname "${BASH_SOURCE[0]}")/sqlite.sh"
