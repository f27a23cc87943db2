#!/usr/bin/env bash
# package.sh: builds the release archives in build/dist:
#   tavolin-VERSION-win64.zip         tavolin.exe, tavolin-list.exe,
#       tavolin-make-demo.exe, sample-layouts.tfc, README.txt, LICENSE and
#       SHA256SUMS, in a folder tavolin-VERSION-win64/
#   tavolin-VERSION-linux-x86_64.tar.gz   bin/tavolin-list,
#       bin/tavolin-make-demo, the manual page and LICENSE, in a folder
#       tavolin-VERSION-linux-x86_64/
# The Windows programs come from the build/windows tree (the one the tests
# use, so a test run builds them once); the Linux programs from a release
# tree of their own, build/linux-release, since the native development tree
# is sanitized. `cmake --install --strip` stages each; strip writes
# SOURCE_DATE_EPOCH (default: the last commit's time) as the Windows
# programs' link time, which the build tree's programs leave at 0. The
# archives give every file that time, fixed modes and owners, and names in
# byte order, so the same commit packs to the same bytes wherever and
# whenever it is built.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
tools/setup.sh
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

build() {  # build TREE CMAKE_ARGS... -- TARGETS...
  local tree=$1 log=build/$1-package.log; shift
  local args=()
  while [ "$1" != "--" ]; do args+=("$1"); shift; done; shift
  mkdir -p build
  cmake -S . -B "build/$tree" "${args[@]}" >"$log" 2>&1 &&
    cmake --build "build/$tree" -j "$(nproc)" --target "$@" >>"$log" 2>&1 || {
      grep -E 'error|Error' "$log" | head -n 40 >&2 || tail -n 40 "$log" >&2
      echo "package.sh: the $tree build failed (whole log: $log)" >&2; exit 1; }
}
build windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -- tavolin tavolin-list tavolin-make-demo
# libstdc++ and libgcc linked in: the tools then need only the C library.
build linux-release -DCMAKE_BUILD_TYPE=Release -DTAVOLIN_SANITIZE=OFF -DBUILD_TESTING=OFF \
  "-DCMAKE_EXE_LINKER_FLAGS=-static-libstdc++ -static-libgcc" -- tavolin-list tavolin-make-demo

version=$(sed -n 's/^#define TAVOLIN_VERSION "\(.*\)"$/\1/p' build/windows/generated/tavolin_version.h)
win=tavolin-$version-win64
linux=tavolin-$version-linux-x86_64
stage=build/stage
dist=build/dist
rm -rf "$stage" "$dist"
mkdir -p "$stage" "$dist"
cmake --install build/windows --prefix "$stage/$win" --strip >/dev/null
cmake --install build/linux-release --prefix "$stage/$linux" --strip >/dev/null

build/linux-release/tools/tavolin-make-demo "$stage/demo" "$stage/$win/sample-layouts.tfc"
rm -rf "$stage/demo"
(cd "$stage/$win" && sha256sum tavolin.exe tavolin-list.exe tavolin-make-demo.exe | sed 's/$/\r/' >SHA256SUMS)

# Modes and times independent of the umask and the clock; zip stores local
# time, hence TZ=UTC for both the stamp and the packing.
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 "$stage/$win"/*.exe "$stage/$linux"/bin/*
find "$stage" -exec env TZ=UTC touch -h -d "@$SOURCE_DATE_EPOCH" {} +

(cd "$stage" && find "$win" -type f | LC_ALL=C sort |
  TZ=UTC zip -q -X -D -9 -@ "$root/$dist/$win.zip")
tar -C "$stage" --sort=name --format=gnu --mtime="@$SOURCE_DATE_EPOCH" \
  --owner=0 --group=0 --numeric-owner -cf - "$linux" | gzip -9 -n >"$dist/$linux.tar.gz"
(cd "$dist" && sha256sum "$win.zip" "$linux.tar.gz")
