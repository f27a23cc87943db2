#!/usr/bin/env bash
# build.sh [native|windows|fuzz]...: configures and builds the named trees
# under build/ (all three when none is named).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)
trees=("$@"); [ ${#trees[@]} -eq 0 ] && trees=(native windows fuzz)
for t in "${trees[@]}"; do
  case "$t" in
    # The native tree is the test tree: sanitized.
    native)  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOLIN_SANITIZE=ON >/dev/null ;;
    windows) cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
                   -DCMAKE_BUILD_TYPE=Release >/dev/null ;;
    fuzz)    cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
                   -DTAVOLIN_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ;;
    *) echo "build.sh: unknown tree $t" >&2; exit 2 ;;
  esac
  log="build/$t.log"
  if ! cmake --build "build/$t" -j "$jobs" >"$log" 2>&1; then
    grep -E 'error|Error' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2
    echo "build.sh: the $t build failed (whole log: $log)" >&2
    exit 1
  fi
  grep -E 'warning:' "$log" | sort -u | head -n 20 >&2 || true
done
