#!/usr/bin/env bash
# wine-prefix.sh DIR: makes a private 64-bit Wine prefix in DIR (idempotent).
# The prefix gets a virtual desktop (closing windows is then fast and they get
# a frame), no crash dialog (a crash ends the program instead of hanging the
# run), no Mono/Gecko prompts, and fonts as on Windows: "Arial" and "Courier
# New" are the metric-compatible Liberation faces, linked (with Wine's own
# Tahoma and the dialog face) to VL Gothic for Japanese, Noto Sans CJK for
# Korean and Symbola for emoji and symbols, text is smoothed as on a Windows
# desktop (ClearType), and the caption buttons get their Marlett symbols. A prefix made with the
# same settings is left as it is; one made with other settings is made anew.
# DIR must be missing, empty or a prefix this script began: a folder it did
# not make is never removed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/tools/wine-env.sh"
dir="$1"
# Names what the prefix holds; a prefix whose marker differs is made anew.
settings="fonts-5"
[ "$(cat "$dir/.tavolin-ready" 2>/dev/null)" = "$settings" ] && exit 0
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
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' /f >/dev/null 2>&1
# Wine looks for a linked face by the requested name and by the one that
# replaced it, so both are linked.
# A linked face is drawn at the requested width over its own average
# character width: the track list asks for Arial 5 pixels wide, and Noto Sans
# CJK, whose average is a whole em, squeezed each kanji into 5 pixels. VL
# Gothic's average is half an em, as MS Gothic's on Windows, so its kanji
# are 10 pixels wide and readable: it comes first for Arial, the face of the
# list, the status and the preview. The other faces keep Noto Sans CJK
# first: with VL Gothic first the buttons of the platform's default font were
# drawn in VL Gothic's wider letters and cut ("et Tracks.."). Noto Sans CJK
# covers Korean. Symbola is a monochrome outline font, which Wine draws;
# colour bitmap emoji fonts it may not. Wine knows a face by the first file
# it met for it, here often Debian's alternative fonts-japanese-gothic.ttf:
# both names are linked.
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
vl='fonts-japanese-gothic.ttf,VL Gothic\0VL-Gothic-Regular.ttf,VL Gothic'
noto='NotoSansCJK-Regular.ttc,Noto Sans CJK JP'
symbola='Symbola_hint.ttf,Symbola'
for face in Arial 'Liberation Sans'; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d "$vl\0$noto\0$symbola" /f >/dev/null 2>&1
done
for face in 'Courier New' 'Liberation Mono' Tahoma 'MS Shell Dlg' 'MS Shell Dlg 2'; do
  wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d "$noto\0$vl\0$symbola" /f >/dev/null 2>&1
done
# Windows smooths text with ClearType (type 2), gamma 1400, RGB stripes.
# Wine here falls back to grey smoothing (its FreeType has no subpixel
# rendering), which the Liberation faces' gasp tables turn off from 9 to 16
# pixels: the window's small text stays unsmoothed.
desktop='HKCU\Control Panel\Desktop'
wine reg add "$desktop" /v FontSmoothing /d 2 /f >/dev/null 2>&1
wine reg add "$desktop" /v FontSmoothingType /t REG_DWORD /d 2 /f >/dev/null 2>&1
wine reg add "$desktop" /v FontSmoothingGamma /t REG_DWORD /d 1400 /f >/dev/null 2>&1
wine reg add "$desktop" /v FontSmoothingOrientation /t REG_DWORD /d 1 /f >/dev/null 2>&1
# Wine's own faces are not found in its data folder here: the caption
# buttons drew as the letters "0 1 r" until Marlett sat in the prefix's
# Fonts folder.
for f in /usr/share/wine/fonts/marlett.ttf /usr/share/fonts/truetype/wine/marlett.ttf; do
  [ -f "$f" ] && { cp "$f" "$WINEPREFIX/drive_c/windows/Fonts/"; break; }
done
wineserver -w
echo "$settings" >"$dir/.tavolin-ready"
