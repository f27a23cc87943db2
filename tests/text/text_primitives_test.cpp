// The text primitives every decoder and field store is built on: UTF-8
// validity, counting and cutting, the fixed-field store and fold, and the
// line writer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/fields.h"
#include "text/line_writer.h"
#include "text/utf8.h"

namespace {

// Eight ASCII bytes are taken at a time where they fit: the rows put
// characters and faults on either side of such a word.
TEST(Utf8, ValidityCountAndCut) {
    const struct {
        const char* name;
        std::string text;
        bool isValid;
        size_t chars;
        size_t maxBytes, maxChars, cut;  // Utf8CutLength(text, size, maxBytes, maxChars)
    } rows[] = {
        {"empty", "", true, 0, 8, SIZE_MAX, 0},
        {"two ASCII words", "abcdefghijklmnop", true, 16, 12, SIZE_MAX, 12},
        {"ASCII words cut by characters", "abcdefghijklmnop", true, 16, 99, 3, 3},
        {"a pair after seven ASCII", "abcdefg\xC3\xA9", true, 8, 8, SIZE_MAX, 7},
        {"a stray continuation after a word", "abcdefgh\x80", false, 9, 99, SIZE_MAX, 9},
        {"kana cut inside the second", "\xE6\x9D\xB1\xE4\xBA\xAC", true, 2, 5, SIZE_MAX, 3},
        {"emoji", "\xF0\x9F\x8E\xB5", true, 1, 4, SIZE_MAX, 4},
        {"overlong two bytes", "\xC0\xAF", false, 2, 99, SIZE_MAX, 2},
        {"overlong two bytes, C1", "\xC1\xBF", false, 2, 99, SIZE_MAX, 2},
        {"overlong three bytes", "\xE0\x80\xAF", false, 1, 99, SIZE_MAX, 3},
        {"U+0800, the first of three bytes", "\xE0\xA0\x80", true, 1, 99, SIZE_MAX, 3},
        {"U+D7FF", "\xED\x9F\xBF", true, 1, 99, SIZE_MAX, 3},
        {"U+D800, a surrogate", "\xED\xA0\x80", false, 1, 99, SIZE_MAX, 3},
        {"U+DFFF, a surrogate", "\xED\xBF\xBF", false, 1, 99, SIZE_MAX, 3},
        {"a surrogate pair encoded", "\xED\xA0\xBD\xED\xBE\xB5", false, 2, 99, SIZE_MAX, 6},
        {"U+E000", "\xEE\x80\x80", true, 1, 99, SIZE_MAX, 3},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", false, 1, 99, SIZE_MAX, 4},
        {"U+10000", "\xF0\x90\x80\x80", true, 1, 99, SIZE_MAX, 4},
        {"U+10FFFF", "\xF4\x8F\xBF\xBF", true, 1, 99, SIZE_MAX, 4},
        {"U+110000", "\xF4\x90\x80\x80", false, 1, 99, SIZE_MAX, 4},
        {"no lead byte past F4", "\xF5\x80\x80\x80", false, 4, 99, SIZE_MAX, 4},
        {"a sequence cut short", "caf\xC3", false, 4, 99, SIZE_MAX, 4},
        {"a lead byte before ASCII", "\xE2\x82z", false, 3, 99, SIZE_MAX, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsValidUtf8(row.text.data(), row.text.size()), row.isValid);
        EXPECT_EQ(CountUtf8Chars(row.text.data(), row.text.size()), row.chars);
        size_t chars = 0;
        EXPECT_EQ(Utf8CutLength(row.text.data(), row.text.size(), row.maxBytes, row.maxChars, &chars), row.cut);
        EXPECT_EQ(chars, CountUtf8Chars(row.text.data(), row.cut));
    }
    const struct {
        char32_t cp;
        std::string want;
    } codes[] = {{U'A', "A"},           {0xE9, "\xC3\xA9"},           {0x20AC, "\xE2\x82\xAC"},
                 {0xD800, "\xEF\xBF\xBD"}, {0xDFFF, "\xEF\xBF\xBD"}, {0x1F3B5, "\xF0\x9F\x8E\xB5"},
                 {0x110000, "\xEF\xBF\xBD"}};
    for (const auto& code : codes) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << uint32_t(code.cp));
        char out[UTF8_MAX_CHAR_BYTES];
        EXPECT_EQ(std::string(out, EncodeUtf8(code.cp, out)), code.want);
    }
}

TEST(Fields, StoreAndFoldedCompare) {
    const struct {
        const char* name;
        const char* text;
        size_t size, maxChars;
        std::string want;  // the whole field, which starts as "XXXXXXX" and its terminator
        int isWhole;
    } stores[] = {
        {"short: later bytes stay", "ab", 8, SIZE_MAX, std::string("ab\0XXXX\0", 8), 1},
        {"cut to size - 1", "abcdefghij", 8, SIZE_MAX, std::string("abcdefg\0", 8), 0},
        {"cut before a pair", "abcdef\xC3\xA9", 8, SIZE_MAX, std::string("abcdef\0\0", 8), 0},
        {"cut by characters", "\xE6\x97\xA5\xE6\x9C\xAC", 8, 1, std::string("\xE6\x97\xA5\0XXX\0", 8), 0},
        {"null is empty", nullptr, 8, SIZE_MAX, std::string("\0XXXXXX\0", 8), 1},
    };
    for (const auto& row : stores) {
        SCOPED_TRACE(row.name);
        char field[8];
        std::memcpy(field, "XXXXXXX", 8);
        EXPECT_EQ(StoreFieldText(field, row.size, row.text, row.maxChars), row.isWhole);
        EXPECT_EQ(std::string(field, 8), row.want);
    }
    const struct {
        const char* text;
        size_t limit;
        const char* name;
        bool isEqual;
    } compares[] = {
        {"<CUSTOM>", 32, "<Custom>", true},
        {"Customs", 32, "Custom", false},
        {"Cust", 32, "Custom", false},
        {"CUSTOMXX", 6, "custom", true},  // a field without terminator ends at its limit
        {"CUSTOMXX", 5, "custom", false},
        {"\xC3\x89t\xC3\xA9", 32, "\xC3\xA9t\xC3\xA9", false},  // only A-Z fold
        {"@", 32, "`", false},
    };
    for (const auto& row : compares) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(TextEqualsFolded(row.text, row.limit, row.name), row.isEqual);
    }
}

TEST(LineWriter, CutsOnCharacterBoundariesAndStaysFull) {
    const struct {
        const char* name;
        size_t size, maxChars;
        void (*write)(LineWriter&);
        std::string want;
        bool isFull;
    } rows[] = {
        {"fits", 16, SIZE_MAX, [](LineWriter& w) { w.Append("abc"); }, "abc", false},
        {"cut before a pair", 5, SIZE_MAX, [](LineWriter& w) { w.Append("ab\xC3\xA9\xC3\xA9"); }, "ab\xC3\xA9",
         true},
        {"nothing after a cut piece", 8, SIZE_MAX,
         [](LineWriter& w) {
             w.Append("abcdef\xC3\xA9");
             w.Append("x");
         },
         "abcdef", true},
        {"cut by characters", 64, 2, [](LineWriter& w) { w.Append("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"); },
         "\xE6\x97\xA5\xE6\x9C\xAC", true},
        {"negative amount", 16, SIZE_MAX, [](LineWriter& w) { w.Repeat("-", 1, -3); }, "", false},
        {"repeats stop when full", 6, SIZE_MAX, [](LineWriter& w) { w.Repeat("ab", 2, 1000000); }, "ababa", true},
        {"formatted", 16, SIZE_MAX, [](LineWriter& w) { w.Add("%03u|%s", 7u, "x"); }, "007|x", false},
        {"formatted and cut before a pair", 6, SIZE_MAX, [](LineWriter& w) { w.Add("%s", "abcd\xC3\xA9"); },
         "abcd", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        char out[80];  // room past every row's size
        std::memset(out, 'Z', sizeof out);
        LineWriter w(out, row.size, row.maxChars);
        row.write(w);
        EXPECT_EQ(std::string(out), row.want);
        EXPECT_EQ(w.Length(), row.want.size());
        EXPECT_EQ(w.IsFull(), row.isFull);
        EXPECT_EQ(out[row.size], 'Z') << "written past the buffer";
    }
    char untouched = 'Z';
    LineWriter none(&untouched, 0);
    none.Append("abc");
    EXPECT_EQ(untouched, 'Z');
    EXPECT_EQ(none.Length(), 0u);
}

}  // namespace
