#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest (CMAKE_CROSSCOMPILING_EMULATOR).
# Inside tools/wine-session.sh the prefix, display and keepalive are already
# set up and exported. Run bare (ctest by hand), it uses the build's own
# prefix, making it first if needed, and never ~/.wine.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/tools/wine-env.sh"
exe="$1"; shift
prefix=${WINEPREFIX:-}
if [ -z "$prefix" ]; then
  dir=$(cd "$(dirname "$exe")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { echo "wine-run: no build folder above $exe" >&2; exit 2; }
  "$root/tools/wine-prefix.sh" "$dir/wine/prefix" >&2
  prefix="$dir/wine/prefix"
fi
tavolin_wine_env "$prefix"
if [ -n "${TAVOLIN_FILE_LIMIT_KIB:-}" ]; then
  # Files the program writes stop growing at the limit (a write past it
  # fails, SIGXFSZ ignored), as on a medium that fills up. The limit is the
  # program's alone: a wineserver it started would keep it, so one is
  # started first when none runs (inside wine-session.sh one always runs).
  wineserver -p3 2>/dev/null || true
  export TAVOLIN_FILE_LIMIT=$((TAVOLIN_FILE_LIMIT_KIB * 1024))
  trap '' XFSZ
  ulimit -f "$TAVOLIN_FILE_LIMIT_KIB"
fi
exec wine "$exe" "$@"
