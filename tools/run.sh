#!/usr/bin/env bash
# run.sh: Tavolin's main job on Linux. Installs what is missing, builds,
# writes the demo recorder (a folder laid out like a Hi-MD recorder's drive)
# and prints its listing with tavolin-list.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
tools/setup.sh
tools/build.sh native
demo="$root/build/demo-recorder"
build/native/tools/tavolin-make-demo "$demo"
# tavolin-list writes the recorder's texts as the raw 8-bit bytes Windows
# shows in its ANSI code page; the demo disc's accents are Latin-1, so they
# are turned into UTF-8 for a Linux terminal here, and only here.
build/native/tools/tavolin-list "$demo" | iconv -f ISO-8859-1 -t UTF-8
