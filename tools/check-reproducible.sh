#!/usr/bin/env bash
# check-reproducible.sh: packages the last commit twice, from two clones in
# folders of different names and lengths, one after the other, and compares
# the archives byte for byte. The second build runs without the compiler
# cache, so the comparison covers both fresh compiles and cached ones.
# Uncommitted changes are not part of the check. Exits 1 when any archive
# differs, naming the files inside that differ.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
one=$tmp/first/tavolin
two=$tmp/second-packaging/src
for dir in "$one" "$two"; do
  git clone -q "$root" "$dir"
  echo "== packaging in $dir"
  if [ "$dir" = "$two" ]; then
    (cd "$dir" && CCACHE_DISABLE=1 bash tools/package.sh)
  else
    (cd "$dir" && bash tools/package.sh)
  fi
done

status=0
for a in "$one"/build/dist/*; do
  name=$(basename "$a")
  b=$two/build/dist/$name
  if cmp -s "$a" "$b"; then
    echo "same: $name"
    continue
  fi
  status=1
  echo "DIFFERENT: $name"
  # Which staged files differ, and where the first bytes differ.
  (cd "$one/build/stage" && find . -type f) | while read -r f; do
    cmp "$one/build/stage/$f" "$two/build/stage/$f" 2>&1 | sed 's/^/  /' || true
  done
done
exit $status
