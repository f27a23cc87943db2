#!/usr/bin/env bash
# wine-prefix.sh DIR: makes a private 64-bit Wine prefix in DIR (idempotent).
# The prefix gets a virtual desktop (closing windows is then fast and they get
# a frame), no crash dialog (a crash ends the program instead of hanging the
# run) and no Mono/Gecko prompts. A prefix that exists is left as it is.
set -euo pipefail
dir="$1"
[ -f "$dir/.tavolin-ready" ] && exit 0
mkdir -p "$(dirname "$dir")"
rm -rf "$dir"
export WINEPREFIX="$dir" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
touch "$dir/.tavolin-ready"
