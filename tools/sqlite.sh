#!/usr/bin/env bash
# sqlite.sh: builds the one SQLite amalgamation (sqlite3.c, sqlite3.h) that
# the native, Windows and fuzz trees compile, from Debian's own source
# package of sqlite3, and leaves it in the cache folder (TAVOLIN_SQLITE_DIR,
# default /var/cache/tavolin/sqlite3), outside the work tree so that a fresh
# build/ or a new clone does not rebuild it.
# Idempotent and silent when the amalgamation is there. Needs root for the
# deb-src entry and the packages (dpkg-dev, tcl) the first time only.
# --force: build it again even when present.
set -euo pipefail
dir=${TAVOLIN_SQLITE_DIR:-/var/cache/tavolin/sqlite3}
force=""; [ "${1:-}" = "--force" ] && force=1
if [ -z "$force" ] && [ -s "$dir/sqlite3.c" ] && [ -s "$dir/sqlite3.h" ] && [ -s "$dir/SOURCE" ]; then
  exit 0
fi
echo "sqlite: building the amalgamation into $dir"
log=/tmp/tavolin-sqlite.log
: >"$log"
fail() { tail -n 30 "$log" >&2; echo "sqlite: $1 (whole log: $log)" >&2; exit 1; }

need=()
for p in dpkg-dev tcl make gcc; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" = "install ok installed" ] || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  [ "$(id -u)" -eq 0 ] || { echo "sqlite: must run as root to install ${need[*]}" >&2; exit 1; }
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >>"$log" 2>&1 || fail "apt-get update failed"
  apt-get install -y -qq "${need[@]}" >>"$log" 2>&1 || fail "cannot install ${need[*]}"
fi

# The source entry mirrors the machine's own binary entries (deb822 in
# Debian 12's debian.sources, or one-line entries in sources.list), so the
# source comes from the same archive and suites as the installed packages.
if ! apt-cache showsrc sqlite3 2>/dev/null | grep -q '^Package: sqlite3'; then
  [ "$(id -u)" -eq 0 ] || { echo "sqlite: must run as root to add a deb-src entry" >&2; exit 1; }
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -E 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
      >/etc/apt/sources.list.d/tavolin-src.sources
  elif [ -f /etc/apt/sources.list ] && grep -qE '^deb ' /etc/apt/sources.list; then
    grep -E '^deb ' /etc/apt/sources.list | sed -E 's/^deb /deb-src /' \
      >/etc/apt/sources.list.d/tavolin-src.list
  else
    echo "sqlite: no Debian source list found to derive a deb-src entry from" >&2
    exit 1
  fi
  apt-get update -qq >>"$log" 2>&1 || fail "apt-get update failed"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# apt-get source as root warns that the download runs unsandboxed; a folder
# the _apt user may write to avoids that.
chmod 755 "$work"; chown _apt "$work" 2>/dev/null || true
(cd "$work" && apt-get source -qq sqlite3 >>"$log" 2>&1) || fail "apt-get source sqlite3 failed"
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
[ -n "$src" ] && [ -x "$src/configure" ] || fail "the source package has no configure script"
(cd "$src" && ./configure >>"$log" 2>&1 && make -j "$(nproc)" sqlite3.c >>"$log" 2>&1) ||
  fail "make sqlite3.c failed"
mkdir -p "$dir"
cp "$src/sqlite3.c" "$src/sqlite3.h" "$dir/"
# What the amalgamation was made from: the Debian source package and version.
dsc=$(basename "$(find "$work" -maxdepth 1 -name '*.dsc' | head -n 1)")
printf '%s\n' "$dsc" >"$dir/SOURCE"
echo "sqlite: $(grep -m1 '#define SQLITE_VERSION ' "$dir/sqlite3.h" | awk '{print $3}') from $dsc"
