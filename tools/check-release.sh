#!/usr/bin/env bash
# check-release.sh: checks the archives in build/dist (tools/package.sh)
# unpacked as a user unpacks them. The tarball's tavolin-list names the
# version, its manual page formats without warnings, and it lists the demo
# recorder that the tarball's tavolin-make-demo writes exactly as the
# development build's tavolin-list does. The zip's
# checksums hold, its sample layouts file is the demo's, its tavolin.exe
# carries the version in its version resource and, started straight from
# the unpacked folder with the demo recorder as drive D:, lists it, shows
# "Tavolin - VERSION - ..." in its caption and ends with exit code 0 when
# closed (driven by tavolin-snapshot). Runs inside tools/wine-session.sh,
# which gives it a display and the Wine prefix template.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
. tools/wine-env.sh
version=$(sed -n 's/^#define TAVOLIN_VERSION "\(.*\)"$/\1/p' build/windows/generated/tavolin_version.h)
tmp=$(mktemp -d)
trap 'WINEPREFIX=$tmp/prefix wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "check-release: $*" >&2; exit 1; }

unzip -q "build/dist/tavolin-$version-win64.zip" -d "$tmp"
tar -C "$tmp" -xzf "build/dist/tavolin-$version-linux-x86_64.tar.gz"
win=$tmp/tavolin-$version-win64
bin=$tmp/tavolin-$version-linux-x86_64/bin

[ "$("$bin/tavolin-list" --version)" = "tavolin-list $version" ] || fail "tavolin-list --version is not $version"
"$bin/tavolin-make-demo" "$tmp/demo" "$tmp/demo.tfc"
cmp "$tmp/demo.tfc" "$win/sample-layouts.tfc" || fail "the zip's sample layouts file is not the demo's"
for args in "" "--group --sort -length" "--layout $tmp/demo.tfc --sort artist,-length" "--csv --case 1" "--tsv"; do
  # shellcheck disable=SC2086  # the arguments are split on purpose
  "$bin/tavolin-list" $args "$tmp/demo" >"$tmp/release.out"
  # shellcheck disable=SC2086
  build/native/tools/tavolin-list $args "$tmp/demo" >"$tmp/dev.out"
  cmp "$tmp/release.out" "$tmp/dev.out" || fail "tavolin-list $args lists otherwise than the development build"
done
(cd "$win" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the programs"
man=$tmp/tavolin-$version-linux-x86_64/share/man/man1/tavolin-list.1
[ -z "$(groff -man -ww -z "$man" 2>&1)" ] || fail "the manual page has faults: $(groff -man -ww -z "$man" 2>&1)"
strings -el "$win/tavolin.exe" | grep -qxF "$version" || fail "tavolin.exe's version resource lacks $version"

# A prefix of its own, with the demo recorder as removable drive D:.
prefix=$tmp/prefix
cp -a "$TAVOLIN_WINE_TEMPLATE" "$prefix"
ln -sfn "$tmp/demo" "$prefix/dosdevices/d:"
printf '\n[Software\\\\Wine\\\\Drives] 1700000000\n"d:"="floppy"\n' >>"$prefix/system.reg"
tavolin_wine_env "$prefix"
export LC_ALL=C.UTF-8  # code page 1252: the recorder's 8-bit texts pass unchanged
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
touch "$tmp/done"  # the window is closed as soon as it has listed
TAVOLIN_EXE=$(winpath "$win/tavolin.exe") wine build/windows/tools/tavolin-snapshot.exe \
  "$(winpath "$tmp/ready")" "$(winpath "$tmp/done")" >"$tmp/snapshot.txt" 2>&1 </dev/null ||
  { cat "$tmp/snapshot.txt"; fail "the zip's tavolin.exe did not list the demo recorder and end with exit code 0"; }

"$bin/tavolin-list" "$tmp/demo" >"$tmp/list.out"
caption="'$(head -n 1 "$tmp/list.out")'  ---- Tavolin - $version - https://tavolin.example/"
tr -d '\r' <"$tmp/snapshot.txt" >"$tmp/window.txt"
LC_ALL=C grep -aqxF "$caption" "$tmp/window.txt" || { cat "$tmp/window.txt"; fail "the caption is not: $caption"; }
LC_ALL=C grep -a '^  ' "$tmp/window.txt" | cmp - <(sed '1d; s/^/  /' "$tmp/list.out") ||
  fail "the window lists otherwise than tavolin-list"
echo "check-release: tavolin-$version archives: the zip's tavolin.exe and the tarball's tools work"
