#!/usr/bin/env bash
# locate_win_test.sh EXE WORK_DIR SOURCE_ROOT [ARGS...]: runs the locator's
# Win32 tests in a private Wine prefix whose drive letters D: and E:
# (removable), F: (CD-ROM) and G: (fixed) lead to empty folders under
# WORK_DIR that the tests fill. Drive types are read from the registry only
# when the prefix starts, so they are written before its first program runs.
set -euo pipefail
exe=$1; root=$3
mkdir -p "$2"; work=$(cd "$2" && pwd)  # Wine wants an absolute prefix path
shift 3
template=${TAVOLIN_WINE_TEMPLATE:-}
if [ -z "$template" ]; then
  template="$work/template"
  "$root/tools/wine-prefix.sh" "$template" >&2
fi
prefix="$work/prefix"
. "$root/tools/wine-env.sh"
tavolin_wine_env "$prefix"
if [ -d "$prefix" ]; then wineserver -k 2>/dev/null || true; fi
rm -rf "$prefix" "$work/drives"
cp -a "$template" "$prefix"
for d in d e f g; do
  mkdir -p "$work/drives/$d"
  ln -sfn "$work/drives/$d" "$prefix/dosdevices/$d:"
done
cat >>"$prefix/system.reg" <<'REG'

[Software\\Wine\\Drives] 1700000000
"d:"="floppy"
"e:"="floppy"
"f:"="cdrom"
"g:"="hd"
REG

# The program's output goes to a file: the prefix's wineserver and desktop
# process outlive it and would hold ctest's pipe open.
log="$work/run.log"
set +e
wine "$exe" "$@" >"$log" 2>&1 </dev/null
rc=$?
set -e
cat "$log"
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
exit $rc
