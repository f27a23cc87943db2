#!/usr/bin/env bash
# list_exe_test.sh LIST_EXE DEMO_EXE WORK_DIR NATIVE_TOOLS SOURCE_ROOT: runs
# tavolin-list.exe under Wine and the native tavolin-list on the same demo
# recorder (written by tavolin-make-demo.exe) with the same arguments, and
# requires the same standard output bytes, standard error and exit status of
# both. Paths are given relative to WORK_DIR, so both programs name them
# alike.
set -euo pipefail
list_exe=$1; demo_exe=$2; native=$4; root=$5
mkdir -p "$3"; work=$(cd "$3" && pwd)
[ -x "$native/tavolin-list" ] || {
  echo "no native tavolin-list in $native: build the native tree first (tools/build.sh native)" >&2; exit 1; }
# A UTF-8 locale, as on a desktop: Wine reads the arguments in it.
wine_run() { LC_ALL=C.UTF-8 "$root/cmake/wine-run.sh" "$@"; }

cd "$work"
rm -rf demo lower demo.tfc
# Wine's programs keep the prefix's pipes open: outputs go to files.
wine_run "$demo_exe" demo demo.tfc >demo.log 2>&1 </dev/null || { cat demo.log; exit 1; }
# The same recorder with every name in lower case.
cp -a demo lower
mv lower/HMDHIFI lower/hmdhifi
for f in lower/hmdhifi/*; do mv "$f" "lower/hmdhifi/$(basename "$f" | tr 'A-Z' 'a-z')"; done
# The same recorder in folders named in other scripts.
rm -rf 'Zoë'; mkdir -p 'Zoë'; cp -a demo 'Zoë/音楽'

failed=0
check() {  # check EXPECT_OUTPUT ARGS...: EXPECT_OUTPUT is "some" or "none"
  local want=$1; shift
  set +e
  # With FRESH set, each program starts without that file (a catalogue it makes).
  [ -z "${FRESH:-}" ] || rm -f "$FRESH" "$FRESH-wal" "$FRESH-shm"
  wine_run "$list_exe" "$@" >exe.out 2>exe.err </dev/null; local exe_rc=$?
  [ -z "${FRESH:-}" ] || rm -f "$FRESH" "$FRESH-wal" "$FRESH-shm"
  "$native/tavolin-list" "$@" >native.out 2>native.err </dev/null; local native_rc=$?
  set -e
  local what="tavolin-list $*" bad=0
  if [ $exe_rc -ne $native_rc ]; then echo "FAIL $what: exit $exe_rc under Wine, $native_rc natively"; bad=1; fi
  if ! cmp -s exe.out native.out; then
    echo "FAIL $what: standard output differs"; cmp exe.out native.out | head -n 3 || true; bad=1; fi
  # Messages are text: Windows ends their lines with CR LF.
  if ! diff <(tr -d '\r' <exe.err) native.err >/dev/null; then
    echo "FAIL $what: standard error differs"; diff <(tr -d '\r' <exe.err) native.err | head -n 6 || true; bad=1; fi
  if [ "$want" = some ] && [ ! -s native.out ]; then echo "FAIL $what: no output"; bad=1; fi
  [ $bad -eq 0 ] && echo "ok $what: exit $exe_rc, $(wc -c <exe.out) bytes"
  [ $bad -eq 0 ] || failed=1
}

check some demo
check some --group demo
check some --sort artist,-length,title --case 1 demo
check some --csv demo
check some --csv --group --no-round demo
check some --layout demo.tfc demo
check some --layout demo.tfc --group --sort -length,group demo
check some --layout demo.tfc --sort=-bitrate --no-round lower
check some --tsv lower
check some --info demo lower 'Zoë/音楽'
check some --csv --sort -recorded,title lower
check some --csv 'Zoë/音楽'
check some --group demo missing lower
check none --sort year demo
check some --help

# The catalogue. The same disc without its disc list is another disc, keyed
# by its index file's hash.
rm -rf other; cp -a demo other; rm other/HMDHIFI/MCLIST01.HMA
FRESH=made.sqlite check some --add demo missing other 'Zoë/音楽' --catalogue made.sqlite
# Both programs read the catalogue that the native one wrote.
rm -f shared.sqlite*
"$native/tavolin-list" --add demo other --catalogue shared.sqlite >/dev/null
check some --discs --catalogue shared.sqlite
check some --find 'CAFÉ' --catalogue shared.sqlite
check some --find '' --csv --catalogue shared.sqlite
check some --disc 01000002 --csv --group --catalogue shared.sqlite
check some --disc 01000002 --info --catalogue shared.sqlite
# Both discs have that title: the message lists them.
check none --disc 'Tavolin Demo Disc: Café, Harbour & Señoritas' --info --catalogue shared.sqlite
check none --disc 0100 --catalogue shared.sqlite

# Adds at the same time into one catalogue, natively and under Wine: none
# fails and no disc is lost (two discs, four paths).
for side in native exe; do
  rm -f race.sqlite*
  pids=()
  for path in demo other lower 'Zoë/音楽'; do
    if [ $side = native ]; then "$native/tavolin-list" --add "$path" --catalogue race.sqlite >"race.$side.$(basename "$path").out" 2>&1 </dev/null &
    else wine_run "$list_exe" --add "$path" --catalogue race.sqlite >"race.$side.$(basename "$path").out" 2>&1 </dev/null &
    fi
    pids+=($!)
  done
  bad=0
  for pid in "${pids[@]}"; do wait "$pid" || bad=1; done
  discs=$("$native/tavolin-list" --discs --catalogue race.sqlite | wc -l)
  if [ $bad -ne 0 ] || [ "$discs" -ne 2 ]; then
    echo "FAIL adds at once ($side): exit failures $bad, $discs discs"; cat race.$side.*.out; failed=1
  else
    echo "ok adds at once ($side): 2 discs"
  fi
done
exit $failed
