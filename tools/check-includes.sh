#!/usr/bin/env bash
# check-includes.sh: the include rules of the source folders (README.md,
# Layout). Reads every #include line of the tree once and fails with the
# offending file, line and include. No build needed; about a second.
#
# A Windows file is one named *_win.cpp, *_win.h or *_win_test.cpp; every
# other file is portable. Folders rank from the bottom up, and a file
# includes only its own folder or a folder of a lower rank:
#   0 text/   1 base/   2 index/ settings/ ui/   3 listing/ panel/   4 catalogue/
#   5 app/    6 tools/  7 tests/
# Besides:
#   - no file of index/, settings/, text/ or base/ includes ui/;
#   - of listing/ and panel/ only Windows files include ui/;
#   - no portable file includes <windows.h> (or another Win32 header) or a
#     *_win.h header;
#   - catalogue/ includes no *_win.h header;
#   - nothing outside tests/ includes tests/ (tests/ is on the include path
#     of the tests alone, so support/ and fuzz/ are tests/ too).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

folders="text base index settings ui listing panel catalogue app tools tests"
present=""
for f in $folders; do [ -d "$f" ] && present="$present $f"; done

# file:line:text of every include, build trees left out.
# shellcheck disable=SC2086
grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' $present \
  --include='*.cpp' --include='*.h' --include='*.cc' --include='*.hpp' |
awk -F: '
  BEGIN {
    rank["text"] = 0; rank["base"] = 1
    rank["index"] = 2; rank["settings"] = 2; rank["ui"] = 2
    rank["listing"] = 3; rank["panel"] = 3; rank["catalogue"] = 4
    rank["app"] = 5; rank["tools"] = 6; rank["tests"] = 7
    bad = 0
  }
  function fail(why) {
    printf "%s:%s: %s: %s\n", file, line, include, why
    bad = 1
  }
  {
    file = $1; line = $2
    text = $0; sub(/^[^:]*:[^:]*:/, "", text)
    include = text; sub(/^[[:space:]]*#[[:space:]]*include[[:space:]]*/, "", include)
    sub(/[[:space:]]*(\/\/.*)?$/, "", include)
    split(file, parts, "/"); from = parts[1]
    name = parts[length(parts)]
    isWin = name ~ /_win(_test)?\.(cpp|h|cc|hpp)$/

    if (include ~ /^</) {
      if (!isWin && include ~ /^<(windows|winuser|winbase|commdlg|commctrl|shellapi|shlobj|objbase|wingdi)\.h>$/)
        fail("a portable file includes a Win32 header")
      next
    }
    target = include; gsub(/"/, "", target)
    split(target, tparts, "/")
    to = length(tparts) > 1 ? tparts[1] : from  # a bare name is beside the file
    if (to == "support" || to == "fuzz") to = "tests"
    isWinHeader = tparts[length(tparts)] ~ /_win\.h$/

    if (!isWin && isWinHeader) fail("a portable file includes a *_win.h header")
    if (from == "catalogue" && isWinHeader) fail("catalogue/ includes a Windows file")
    if (to == "tests" && from != "tests") fail("only tests/ includes tests/")
    if (to == "ui" && (from == "index" || from == "settings" || from == "text" || from == "base"))
      fail(from "/ includes ui/")
    if (to == "ui" && (from == "listing" || from == "panel") && !isWin)
      fail("only the *_win files of " from "/ include ui/")
    if (to != from && (to in rank) && (from in rank) && rank[to] >= rank[from])
      fail("includes run " from "/ (rank " rank[from] ") down only, not to " to "/ (rank " rank[to] ")")
  }
  END { exit bad }
' || { echo "check-includes.sh: include rules broken (README.md, Layout)" >&2; exit 1; }
echo "check-includes.sh: include rules hold"
