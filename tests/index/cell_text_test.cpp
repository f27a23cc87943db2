#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "index/track_index.h"
#include "tools/lib/index_image/index_image_builder.h"

namespace {

using index_image::IndexImageBuilder;

// Writes raw bytes into one string cell: bytes 0..13 as given, then the link.
void WriteCell(IndexImageBuilder& b, uint16_t cell, const std::vector<uint8_t>& bytes, uint8_t link14 = 0,
               uint8_t link15 = 0) {
    const size_t at = IndexImageBuilder::StringCellOffset(cell);
    for (size_t i = 0; i < bytes.size(); ++i) b.PokeByte(at + i, bytes[i]);
    b.PokeByte(at + 14, link14);
    b.PokeByte(at + 15, link15);
}

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

std::string Read(const std::vector<uint8_t>& image, uint32_t cell, size_t bufferSize = TEXT_BUFFER_SIZE,
                 std::string initial = "", size_t maxChars = TEXT_CHARS) {
    std::vector<char> out(bufferSize, '\x7f');
    std::copy(initial.begin(), initial.end(), out.begin());
    out[initial.size()] = '\0';
    std::atomic<int32_t> stop{0};
    ReadCellText(TrackIndexFile{image.data(), image.size()}, cell, out.data(), out.size(), maxChars, stop);
    EXPECT_NE(std::find(out.begin(), out.end(), '\0'), out.end()) << "output not terminated";
    return std::string(out.data());
}

struct TextRow {
    const char* name;
    std::function<uint16_t(IndexImageBuilder&)> write;  // returns the first cell
    std::string expected;
};

template <size_t N>
void ExpectTexts(const TextRow (&rows)[N]) {
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        const uint16_t cell = row.write(b);
        EXPECT_EQ(Read(b.Build(), cell), row.expected);
    }
}

// One cell of bytes in the encoding.
std::function<uint16_t(IndexImageBuilder&)> Text(uint8_t encoding, std::string bytes) {
    return [=](IndexImageBuilder& b) { return b.AddText(bytes, encoding); };
}

constexpr uint8_t SJIS = index_image::SHIFT_JIS;
#define FFFD "\xEF\xBF\xBD"

TEST(ReadCellText, DecodesSingleCellBytes) {
    const TextRow rows[] = {
        {"encoding byte skipped, two zeros end",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x08, 'A', 'B', 0, 0, 'X'});
             return uint16_t(1);
         },
         "AB"},
        {"a lone zero is skipped",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x05, 'A', 0, 'B', 0, 0});
             return uint16_t(1);
         },
         "AB"},
        {"0x05 ends the text",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x05, 'A', 0x05, 'B'});
             return uint16_t(1);
         },
         "A"},
        {"other control bytes are dropped",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x05, 'A', 0x01, 0x1F, 0x04, 'B'});
             return uint16_t(1);
         },
         "AB"},
        {"bytes 0x80-0xFF are Windows-1252",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x05, 'C', 'a', 'f', 0xE9, 0xFF, 0x80});
             return uint16_t(1);
         },
         "Caf\u00E9\u00FF\u20AC"},
        // The five bytes 1252 leaves undefined stand for C1 characters.
        {"1252 0x80-0x9F, unknown encoding byte", Text(0x37, "\x82\x8A\x81\x8D\x8F\x90\x9D\x99\x9F"),
         "\u201A\u0160\u0081\u008D\u008F\u0090\u009D\u2122\u0178"},
        {"Shift-JIS pairs", Text(SJIS, "\x82\xA0\x93\xFA"), "\u3042\u65E5"},
        {"Shift-JIS single bytes: katakana, backslash, tilde, DEL", Text(SJIS, "\xB1\xDF\x5C\x7E\x7F"),
         "\uFF71\uFF9F\\~\x7F"},
        {"Shift-JIS NEC row 13, NEC-selected and IBM extensions, user area",
         Text(SJIS, "\x87\x40\xED\x40\xFA\x40\xFC\x4B\xF0\x40"), "\u2460\u7E8A\u2170\u9ED1\uE000"},
        // A byte that cannot trail is read on its own, never swallowed.
        {"Shift-JIS lead without a trail", Text(SJIS, "\x81 A\x9F\x7F"), FFFD " A" FFFD "\x7F"},
        {"Shift-JIS pairs and bytes with no character", Text(SJIS, "\x85\x40\x81\xAD\x80\xA0\xFD\xFE\xFFZ"),
         FFFD FFFD FFFD FFFD FFFD FFFD FFFD "Z"},
        {"Shift-JIS lead before 0x05", Text(SJIS, "A\x93\x05Z"), "A" FFFD},
        {"Shift-JIS lead at the end of the chain", Text(SJIS, "ABCDEFGHIJKL\x93"), "ABCDEFGHIJKL" FFFD},
        {"empty first cell",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x05});
             return uint16_t(1);
         },
         ""},
        {"cell number past the image", [](IndexImageBuilder&) { return uint16_t(0xFFFF); }, ""},
    };
    ExpectTexts(rows);
}

TEST(ReadCellText, FollowsChains) {
    const TextRow rows[] = {
        {"full first cell continues at cell 0x122; byte 14's high bits are not link bits",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1,
                       Bytes("\x05"
                             "ABCDEFGHIJKLM"),
                       0x91, 0x22);
             WriteCell(b, 0x122, Bytes("NOPQRSTUVWXYZ!"), 0, 0);
             return uint16_t(1);
         },
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ!"},
        // A link whose low byte is 0 (cells 0x100, 0x200, ...) is a link, not
        // the end of the chain: taken for the end, it cuts the text.
        {"link to cell 0x100 is followed",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1,
                       Bytes("\x05"
                             "ABCDEFGHIJKLM"),
                       0x01, 0x00);
             WriteCell(b, 0x100, Bytes("NOP"));
             return uint16_t(1);
         },
         "ABCDEFGHIJKLMNOP"},
        // A full last cell ends the text: read on, it runs into the next cell
        // of the file.
        {"link 0 ends the text after a full cell",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1,
                       Bytes("\x05"
                             "ABCDEFGHIJKLM"),
                       0, 0);
             WriteCell(b, 2,
                       Bytes("\x05"
                             "OTHER TEXT"));
             return uint16_t(1);
         },
         "ABCDEFGHIJKLM"},
        {"zero at the end of a cell, text in the linked cell",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1,
                       Bytes(std::string("\x05"
                                         "ABCDEFGHIJKL") +
                             '\0'),
                       0, 5);
             WriteCell(b, 5, Bytes("MN"));
             return uint16_t(1);
         },
         "ABCDEFGHIJKLMN"},
        {"zero at the end of a cell, zero first in the linked cell",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1,
                       Bytes(std::string("\x05"
                                         "ABCDEFGHIJKL") +
                             '\0'),
                       0, 5);
             WriteCell(b, 5, Bytes(std::string(1, '\0') + "MN"));
             return uint16_t(1);
         },
         "ABCDEFGHIJKL"},
        {"builder chain of five cells",
         [](IndexImageBuilder& b) { return b.AddText("A title that spans five string cells of text"); },
         "A title that spans five string cells of text"},
        // A chain that links back to itself, walked without a limit, never ends.
        {"loop is read once",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1,
                       Bytes("\x05"
                             "ABCDEFGHIJKLM"),
                       0, 2);
             WriteCell(b, 2, Bytes("NOPQRSTUVWXYZ!"), 0, 1);
             return uint16_t(1);
         },
         "ABCDEFGHIJKLMNOPQRSTUVWXYZ!"},
        // With Latin-1 the first cell's encoding byte 0x05 also ends the
        // text, so a chain walked round again stops there by chance. Other
        // encodings read that byte as text: only the loop guard ends them.
        {"Shift-JIS loop is read once",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x90, 0x82, 0xA0, 0x82, 0xA2, 0x82, 0xA4, 0x82, 0xA6, 0x82, 0xA8, 0x93, 0xFA},
                       0, 2);
             WriteCell(b, 2,
                       {0x96, 0x7B, 0x8C, 0xEA, 0x82, 0xCC, 0x95, 0xB6, 0x8E, 0x9A, 0x97, 0xF1, 0x82, 0xC5},
                       0, 1);
             return uint16_t(1);
         },
         "\u3042\u3044\u3046\u3048\u304A\u65E5\u672C\u8A9E\u306E\u6587\u5B57\u5217\u3067"},
        // The chain is one byte stream: a character's bytes straddle cells.
        {"Shift-JIS pair straddling two cells", Text(SJIS, "ABCDEFGHIJKL\x93\xFA"), "ABCDEFGHIJKL\u65E5"},
        {"surrogate pair straddling two cells",
         Text(index_image::UTF16BE, index_image::Utf16Be(u"ABCDE\U0001F3B5")), "ABCDE\U0001F3B5"},
        {"loop of control bytes and letters is read once",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x01, 'A', 0x01, 'B', 0x01, 0x01, 0x02, 'C', 0x1F, 0x01, 0x01, 0x01, 0x01, 'D'},
                       0, 2);
             WriteCell(b, 2,
                       {0x01, 0x01, 'E', 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01}, 0,
                       1);
             return uint16_t(1);
         },
         "ABCDE"},
        {"cell linking to itself",
         [](IndexImageBuilder& b) {
             WriteCell(b, 7,
                       Bytes("\x05"
                             "ABCDEFGHIJKLM"),
                       0, 7);
             return uint16_t(7);
         },
         "ABCDEFGHIJKLM"},
    };
    ExpectTexts(rows);
}

TEST(ReadCellText, DecodesUtf16) {
    using index_image::Utf16Be;
    struct Row {
        std::u16string text;
        std::string expected;
    };
    const Row rows[] = {
        // U+0105 has 0x05 as its low byte: read byte by byte, it ended the text.
        {u"M\u0105ka", "M\u0105ka"},
        {u"Caf\u00E9 cr\u00E8me br\u00FBl\u00E9e", "Caf\u00E9 cr\u00E8me br\u00FBl\u00E9e"},
        {u"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144",
         "Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144"},
        {u"\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u0080\u009F",
         "\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u0080\u009F"},
        {u"tab\there", "tabhere"},
        {u"emoji \U0001F3B5 one character", "emoji \U0001F3B5 one character"},
        // A surrogate without its other half is U+FFFD; what follows stays.
        {u"lone \xD83Dx \xDFB5y \xDFB5\xD83D", "lone " FFFD "x " FFFD "y " FFFD FFFD},
        {u"", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        IndexImageBuilder b;
        const uint16_t cell = b.AddText(Utf16Be(row.text), index_image::UTF16BE);
        EXPECT_EQ(Read(b.Build(), cell), row.expected);
    }
}

TEST(ReadCellText, Utf16EndsAtNulCharacterNotAtZeroByte) {
    IndexImageBuilder b;
    // 0x0041 has a zero high byte, 0x4100 a zero low byte: neither ends it.
    std::string bytes = index_image::Utf16Be(u"A\u4100B");
    bytes += std::string(2, '\0') + index_image::Utf16Be(u"hidden");
    const uint16_t cell = b.AddText(bytes, index_image::UTF16BE);
    EXPECT_EQ(Read(b.Build(), cell), "A\u4100B");
}

std::string Repeated(size_t n, const std::string& piece) {
    std::string text;
    for (size_t i = 0; i < n; ++i) text += piece;
    return text;
}

// Texts are cut at the character limit or where the next character's bytes
// would not fit the buffer, never inside a character.
TEST(ReadCellText, CutsToTheBufferAndAppends) {
    const std::string xs(600, 'x');
    const struct {
        const char* name;
        uint8_t encoding;
        std::string bytes;
        size_t bufferSize, maxChars;
        std::string initial, expected;
    } rows[] = {
        {"title buffer", 0x05, xs, TEXT_BUFFER_SIZE, TEXT_CHARS, "", std::string(127, 'x')},
        {"line buffer", 0x05, xs, LINE_BUFFER_SIZE, LINE_CHARS, "", std::string(511, 'x')},
        {"128 bytes", 0x05, xs, 128, SIZE_MAX, "", std::string(127, 'x')},
        {"512 bytes", 0x05, xs, 512, SIZE_MAX, "", std::string(511, 'x')},
        {"one byte", 0x05, xs, 1, SIZE_MAX, "", ""},
        {"appended", 0x05, xs, 10, SIZE_MAX, "ab", "abxxxxxxx"},
        {"appended, characters counted", 0x05, xs, 10, 4, "ab", "abxx"},
        {"127 Latin letters whole", 0x05, std::string(300, '\xE9'), TEXT_BUFFER_SIZE, TEXT_CHARS, "",
         Repeated(127, "\u00E9")},
        {"127 curly quotes whole", 0x05, std::string(300, '\x93'), TEXT_BUFFER_SIZE, TEXT_CHARS, "",
         Repeated(127, "\u201C")},
        {"127 katakana bytes whole", SJIS, std::string(300, '\xB1'), TEXT_BUFFER_SIZE, TEXT_CHARS, "",
         Repeated(127, "\uFF71")},
        {"cut inside a two-byte character", 0x05, "Caf\xE9", 5, SIZE_MAX, "", "Caf"},
        // ASCII runs are copied a run at a time, the letters between them one by one.
        {"runs and letters, characters counted", 0x05, "ab\xE9" "cdef\xE9gh", 32, 6, "", "ab\u00E9cde"},
        {"runs and letters, bytes counted", 0x05, "ab\xE9" "cdef\xE9gh", 10, SIZE_MAX, "", "ab\u00E9" "cdef"},
        {"cut inside a Shift-JIS character", SJIS, "\x93\xFA\x96\x7B", 6, SIZE_MAX, "", "\u65E5"},
        {"cut inside a surrogate pair", index_image::UTF16BE, index_image::Utf16Be(u"ab\U0001F3B5"), 6,
         SIZE_MAX, "", "ab"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        const uint16_t cell = b.AddText(row.bytes, row.encoding);
        EXPECT_EQ(Read(b.Build(), cell, row.bufferSize, row.initial, row.maxChars), row.expected);
    }
}

// A stopped walk gives a beginning of the text and never half a character.
TEST(ReadCellText, StopFlagEndsTheWalk) {
    const struct {
        uint8_t encoding;
        std::string text, expected;
    } rows[] = {{0x05, "stopped early", "s"}, {SJIS, "\x93\xFA\x96\x7B", ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        IndexImageBuilder b;
        const uint16_t cell = b.AddText(row.text, row.encoding);
        const std::vector<uint8_t> image = b.Build();
        char out[TEXT_BUFFER_SIZE] = "";
        std::atomic<int32_t> stop{1};
        ReadCellText(TrackIndexFile{image.data(), image.size()}, cell, out, sizeof out, TEXT_CHARS, stop);
        EXPECT_EQ(std::string(out), row.expected);
    }
}

}  // namespace
