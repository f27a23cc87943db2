#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds the fuzz tree and runs every fuzz target for
# SECONDS each (default 60), one after another on one core. Each target
# grows its own corpus under build/fuzz/corpus/<name>, started from the
# committed seeds in tests/fuzz/corpus/<name>; inputs that fail are kept in
# build/fuzz/findings/<name>/. Prints runs, corpus size and findings per
# target; exits 1 when any target found something.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}
case "$seconds" in ''|*[!0-9]*) echo "usage: fuzz.sh [SECONDS]" >&2; exit 2 ;; esac

tools/build.sh fuzz

failed=0
for f in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  short=${name#fuzz_}
  corpus="build/fuzz/corpus/$short"
  findings="build/fuzz/findings/$short"
  log="build/fuzz/$name.log"
  mkdir -p "$corpus" "$findings"
  [ -d "tests/fuzz/corpus/$short" ] && cp -rn "tests/fuzz/corpus/$short"/. "$corpus"/
  before=$(find "$findings" -type f | wc -l)
  status=0
  # A single input that runs 25 s is a finding too (a walk that does not end).
  "$f" -max_total_time="$seconds" -max_len=400000 -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  files=$(find "$corpus" -type f | wc -l)
  bytes=$(du -sb "$corpus" | cut -f1)
  found=$(( $(find "$findings" -type f | wc -l) - before ))
  echo "$name: ${runs:-?} runs in ${seconds} s, corpus $files files ($bytes bytes), findings $found (exit $status)"
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -n 5 || true
  fi
done
exit "$failed"
