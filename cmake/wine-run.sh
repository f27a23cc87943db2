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
exec wine "$exe" "$@"
