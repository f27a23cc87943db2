#!/usr/bin/env bash
# test.sh: every test. Installs what is missing, builds the native, Windows
# and fuzz trees and the release archives, runs the native tests (sanitized),
# a short fuzz run of each fuzzer over its seed corpus, and the Windows
# tests and the release check under Wine in Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# The include rules first: they need no build and fail in a second.
tools/check-includes.sh
tools/setup.sh
tools/build.sh native windows fuzz
# The archives reuse the Windows tree just built; only the Linux release
# tree is built anew.
began=$(date +%s)
tools/package.sh
echo "package.sh: $(( $(date +%s) - began )) s"

echo "== native tests"
ctest --test-dir build/native --output-on-failure -j "$(nproc)"

echo "== fuzzing (fixed number of runs)"
# Each fuzzer works on a copy of its corpus in a temporary folder, removed on
# every way out, a failing fuzzer's too.
work=""
trap '[ -n "$work" ] && rm -rf "$work" "$work.log"' EXIT
for f in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus="tests/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  "$f" -runs="${TAVOLIN_FUZZ_RUNS:-20000}" -seed=1 -max_len=400000 "$work" >"$work.log" 2>&1 || {
    tail -n 40 "$work.log"; echo "fuzzer $name failed"; exit 1; }
  echo "$name: $(grep -E '^Done' "$work.log" || tail -n 1 "$work.log")"
  rm -rf "$work" "$work.log"
  work=""
done

echo "== Windows tests under Wine"
tools/wine-session.sh build/windows \
  ctest --test-dir build/windows --output-on-failure -j 1

echo "== release archives"
tools/wine-session.sh build/windows tools/check-release.sh
