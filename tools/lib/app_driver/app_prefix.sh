#!/usr/bin/env bash
# app_prefix.sh WORK_DIR SOURCE_ROOT EXE [ARGS...]: runs a Windows program
# (a scenario runner that starts tavolin.exe, or a test of the locator) in a
# private Wine prefix of its
# own under WORK_DIR, whose drive letters lead to empty folders under
# WORK_DIR/drives: D: and E: removable, F: a CD-ROM, G: fixed. Drive types are
# read from the registry only when the prefix starts, so they are written
# before its first program runs. TAVOLIN_FULL_DEVICE names (as a Windows
# path) a file whose every write fails. Fails when the run's output holds a crash
# report ("Unhandled ..."): a crashed program can still exit with 0 here.
set -euo pipefail
mkdir -p "$1"; work=$(cd "$1" && pwd)  # Wine wants an absolute prefix path
root=$2; shift 2
template=${TAVOLIN_WINE_TEMPLATE:-}
if [ -z "$template" ]; then
  template="$work/template"
  "$root/tools/wine-prefix.sh" "$template" >&2
fi
prefix="$work/prefix"
. "$root/tools/wine-env.sh"
tavolin_wine_env "$prefix"
export LC_ALL=C.UTF-8  # code page 1252: the recorder's 8-bit texts pass unchanged
if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; fi
rm -rf "$prefix" "$work/drives"
cp -a "$template" "$prefix"
for d in d e f g; do
  mkdir -p "$work/drives/$d"
  ln -sfn "$work/drives/$d" "$prefix/dosdevices/$d:"
done
# A file whose every write fails, as on a full disk, for the failure paths
# of the file commands.
ln -sfn /dev/full "$work/full-device.txt"
export TAVOLIN_FULL_DEVICE="Z:$(printf '%s' "$work/full-device.txt" | tr / '\\')"
cat >>"$prefix/system.reg" <<'REG'

[Software\\Wine\\Drives] 1700000000
"d:"="floppy"
"e:"="floppy"
"f:"="cdrom"
"g:"="hd"
REG

# The output goes to a file: the prefix's wineserver and desktop process
# outlive the program and would hold the caller's pipe open.
log="$work/run.log"
# With TAVOLIN_FILE_LIMIT_KIB set, every file that the run's programs write
# stops growing at that size (a write past it fails, SIGXFSZ ignored), as on
# a medium that fills up; they see the limit in bytes as TAVOLIN_FILE_LIMIT.
# The prefix's wineserver is started first, so that it runs without it.
limit=${TAVOLIN_FILE_LIMIT_KIB:-}
if [ -n "$limit" ]; then
  wineserver -p3
  export TAVOLIN_FILE_LIMIT=$((limit * 1024))
fi
set +e
(
  if [ -n "$limit" ]; then trap '' XFSZ; ulimit -f "$limit"; fi
  exec wine "$@"
) >"$log" 2>&1 </dev/null
rc=$?
set -e
cat "$log"
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
if grep -q 'Unhandled' "$log"; then
  echo "app_prefix: a program of the run crashed (see 'Unhandled' above)" >&2
  [ $rc -eq 0 ] && rc=1
fi
exit $rc
