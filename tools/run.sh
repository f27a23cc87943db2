#!/usr/bin/env bash
# run.sh: Tavolin's main job. Installs what is missing, builds tavolin.exe,
# writes the demo recorder (a folder laid out like a Hi-MD recorder's drive),
# maps it as removable drive D: in a private Wine prefix and opens Tavolin.
# With a display ($DISPLAY) the window opens there and the script ends when it
# is closed. Without one it runs in its own Xvfb: presses Get Tracks, waits
# for the listing, saves a screenshot of the window (build/run/tavolin.png),
# opens the catalogue window on a demo catalogue (the demo disc and two
# copies of it under other titles, in the prefix's default place
# %APPDATA%\Tavolin\catalogue.sqlite) and saves its screenshot
# (build/run/catalogue.png), prints the listing and the pictures' paths, and
# exits 0.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
began=$(date +%s)
tools/setup.sh

# Only the programs the run needs: the demo writer natively, tavolin.exe and
# its driver in the Windows tree (tools/build.sh builds everything).
build() {  # build TREE LOG CMAKE_ARGS... -- TARGETS...
  local tree=$1 log=$2; shift 2
  local args=() targets=()
  while [ "$1" != "--" ]; do args+=("$1"); shift; done; shift
  targets=("$@")
  cmake -S . -B "build/$tree" "${args[@]}" >"$log" 2>&1 &&
    cmake --build "build/$tree" -j "$(nproc)" --target "${targets[@]}" >>"$log" 2>&1 || {
      grep -E 'error|Error' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2
      echo "run.sh: the $tree build failed (whole log: $log)" >&2; exit 1; }
}
mkdir -p build
build native build/run-native.log -DCMAKE_BUILD_TYPE=RelWithDebInfo -- tavolin-make-demo tavolin-list
build windows build/run-windows.log -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -- tavolin tavolin-snapshot tavolin-list
exe="$root/build/windows/tavolin.exe"

demo="$root/build/demo-recorder"
build/native/tools/tavolin-make-demo "$demo" >/dev/null

# A private prefix: a copy of the build's template with the demo recorder as
# removable drive D:. Drive types are read when the prefix starts, so the
# registry is written before its first program runs.
tools/wine-prefix.sh "$root/build/windows/wine/template"
run="$root/build/run"
prefix="$run/prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
[ -d "$prefix" ] && { wineserver -k 2>/dev/null || true; }
rm -rf "$run"; mkdir -p "$run"

cp -a "$root/build/windows/wine/template" "$prefix"
# The demo catalogue: the demo disc and two other discs recorded alike, in
# the file Tavolin uses when none is named (%APPDATA%\Tavolin, Wine's
# user folder named after the Unix user), so the window shows the path a
# user of it would see.
catalogue="$prefix/drive_c/users/$(id -un)/AppData/Roaming/Tavolin/catalogue.sqlite"
build/native/tools/tavolin-make-demo --title "Tavolin Demo Disc: Copy for the Car" "$run/copy-car" >/dev/null
build/native/tools/tavolin-make-demo --title "Tavolin Demo Disc: 夜の旅 / Ταξίδι" "$run/copy-trip" >/dev/null
build/native/tools/tavolin-list --catalogue "$catalogue" --add "$demo" "$run/copy-car" "$run/copy-trip" >/dev/null
ln -sfn "$demo" "$prefix/dosdevices/d:"
cat >>"$prefix/system.reg" <<'REG'

[Software\\Wine\\Drives] 1700000000
"d:"="floppy"
REG

xvfb_pid=""
cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -n "${DISPLAY:-}" ]; then
  # On the user's own display the window manager frames Tavolin's window:
  # no virtual desktop.
  sed -i '/^"Desktop"="Default"$/d' "$prefix/user.reg"
  echo "run.sh: Tavolin opens on $DISPLAY; the demo recorder is drive D: (press Get Tracks...)"
  set +e; wine "$exe"; rc=$?; set -e
  echo "run.sh: Tavolin ended with exit code $rc after $(( $(date +%s) - began )) s"
  exit $rc
fi

fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display <"$fifo"; rm -f "$fifo"
export DISPLAY=":$display"

winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
ready="$run/ready"; done_flag="$run/done"; out="$run/snapshot.txt"
cat_ready="$run/catalogue-ready"; cat_done="$run/catalogue-done"
TAVOLIN_EXE=$(winpath "$exe") \
  wine "$root/build/windows/tools/tavolin-snapshot.exe" \
  "$(winpath "$ready")" "$(winpath "$done_flag")" "$(winpath "$cat_ready")" "$(winpath "$cat_done")" \
  >"$out" 2>"$run/snapshot.err" </dev/null &
snap_pid=$!
for _ in $(seq 600); do
  [ -f "$ready" ] && break
  kill -0 "$snap_pid" 2>/dev/null || break
  sleep 0.1
done
if [ ! -f "$ready" ]; then
  cat "$out" "$run/snapshot.err" >&2
  echo "run.sh: Tavolin did not show a listing" >&2; exit 1
fi

# A window's picture, from its place on the Wine desktop, which fills the
# screen's top left.
desktop=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -n 1 || true)
shoot() {  # shoot NAME FILE: the rectangle printed on the line "NAME X Y W H"
  local x y w h
  read -r _ x y w h < <(grep -a "^$1 " "$out")
  import -window "${desktop:-root}" -crop "${w}x${h}+${x}+${y}" +repage "$2"
}
shot="$run/tavolin.png"
shoot window "$shot"
touch "$done_flag"
for _ in $(seq 300); do
  [ -f "$cat_ready" ] && break
  kill -0 "$snap_pid" 2>/dev/null || break
  sleep 0.1
done
cat_shot="$run/catalogue.png"
if [ -f "$cat_ready" ]; then
  shoot catalogue "$cat_shot"
else
  cat_shot=""
fi
touch "$cat_done"
set +e; wait "$snap_pid"; rc=$?; set -e

# The driver reads the window's texts as UTF-8.
grep -avE '^(window|catalogue) ' "$out"
if [ $rc -ne 0 ]; then
  cat "$run/snapshot.err" >&2
  echo "run.sh: Tavolin did not end cleanly" >&2; exit 1
fi
echo "Screenshot: $shot"
if [ -z "$cat_shot" ]; then
  echo "run.sh: the catalogue window did not open" >&2; exit 1
fi
echo "Screenshot: $cat_shot"
echo "run.sh: done in $(( $(date +%s) - began )) s"
