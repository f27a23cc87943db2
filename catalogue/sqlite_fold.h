// The case fold of SQLite's full-text tokenizers, from the SQLite library
// itself (catalogue/sqlite_library.c), so text folded here matches what the
// trigram index folded.
#pragma once

extern "C" int TavolinFoldCodePoint(int codePoint);
