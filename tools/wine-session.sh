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
. "$root/tools/wine-env.sh"

"$root/tools/wine-prefix.sh" "$build/wine/template"
if ! cmp -s "$build/wine/prefix/.tavolin-ready" "$build/wine/template/.tavolin-ready"; then
  rm -rf "$build/wine/prefix"
  cp -a "$build/wine/template" "$build/wine/prefix"
fi
tavolin_wine_env "$build/wine/prefix"
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
# Xvfb writes its display number once it is ready.
xvfb_wait=30
if ! read -r -t "$xvfb_wait" display <"$fifo"; then
  rm -f "$fifo"
  echo "wine-session: Xvfb named no display within ${xvfb_wait} s (is another X server or a stale lock in /tmp/.X11-unix in the way?)" >&2
  exit 1
fi
rm -f "$fifo"
export DISPLAY=":$display"

if [ -f "$build/tools/keepalive.exe" ]; then
  wine "$build/tools/keepalive.exe" >/dev/null 2>&1 </dev/null &
  keep_pid=$!
  # Wait until the keepalive has brought up the prefix's desktop process:
  # whichever program starts it (and wineserver) first, those inherit its
  # output, and a test's output pipe held that way keeps ctest waiting.
  desktop_up=""
  for _ in $(seq 300); do
    for p in $(pgrep -f 'explorer.exe /desktop' || true); do
      if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
        desktop_up=1
        break 2
      fi
    done
    sleep 0.05
  done
  if [ -z "$desktop_up" ]; then
    echo "wine-session: the keepalive brought up no desktop process for $WINEPREFIX within 15 s;" \
         "running anyway, but a test that starts it may keep ctest waiting on its output" >&2
  fi
fi

set +e
"$@"
rc=$?
set -e
exit $rc
