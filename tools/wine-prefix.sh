#!/usr/bin/env bash
# wine-prefix.sh DIR: makes a private 64-bit Wine prefix in DIR (idempotent).
# The prefix gets a virtual desktop (closing windows is then fast and they get
# a frame), no crash dialog (a crash ends the program instead of hanging the
# run) and no Mono/Gecko prompts. A prefix that exists is left as it is.
# DIR must be missing, empty or a prefix this script began: a folder it did
# not make is never removed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/tools/wine-env.sh"
dir="$1"
[ -f "$dir/.tavolin-ready" ] && exit 0
if [ -d "$dir" ] && [ -n "$(ls -A "$dir")" ] && [ ! -f "$dir/.tavolin-prefix" ]; then
  echo "wine-prefix: $dir holds files this script did not put there; not touching it" >&2
  exit 1
fi
# A prefix begun earlier and never finished (an interrupted run) is made anew.
rm -rf "$dir"
mkdir -p "$dir"
touch "$dir/.tavolin-prefix"
tavolin_wine_env "$dir"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
touch "$dir/.tavolin-ready"
