#!/usr/bin/env bash
# wine-session.sh BUILD_DIR COMMAND...: runs COMMAND with a private Wine
# session for the Windows build in BUILD_DIR: its own Xvfb display, the
# build's prefix (BUILD_DIR/wine/prefix, copied from BUILD_DIR/wine/template)
# and a keepalive program that holds wineserver up, so each Wine program of
# the run starts warm and ctest does not wait for wineserver to linger.
# Everything started here is ended on the way out.
set -euo pipefail
build=$(cd "$1" && pwd); shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

"$root/tools/wine-prefix.sh" "$build/wine/template"
if [ ! -f "$build/wine/prefix/.tavolin-ready" ]; then
  rm -rf "$build/wine/prefix"
  cp -a "$build/wine/template" "$build/wine/prefix"
fi
export WINEPREFIX="$build/wine/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export TAVOLIN_WINE_TEMPLATE="$build/wine/template"

xvfb_pid=""; keep_pid=""
cleanup() {
  [ -n "$keep_pid" ] && kill "$keep_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT

fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display <"$fifo"; rm -f "$fifo"
export DISPLAY=":$display"

if [ -f "$build/tools/keepalive.exe" ]; then
  wine "$build/tools/keepalive.exe" >/dev/null 2>&1 </dev/null &
  keep_pid=$!
  # Wait until the keepalive has brought up the prefix's desktop process:
  # whichever program starts it (and wineserver) first, those inherit its
  # output, and a test's output pipe held that way keeps ctest waiting.
  for _ in $(seq 300); do
    for p in $(pgrep -f 'explorer.exe /desktop' || true); do
      tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && break 2
    done
    sleep 0.05
  done
fi

set +e
"$@"
rc=$?
set -e
exit $rc
