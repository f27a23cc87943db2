/* The SQLite library as one translation unit: the amalgamation, and the
   fold that FTS5's case-insensitive tokenizers apply to each code point
   made callable, so that a search too short for trigrams folds exactly as
   the trigram index does. */
#include "sqlite3.c"

int TavolinFoldCodePoint(int codePoint) { return sqlite3Fts5UnicodeFold(codePoint, 0); }
