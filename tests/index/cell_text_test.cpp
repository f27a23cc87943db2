#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "index/track_index.h"
#include "tools/index_image/index_image_builder.h"

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
                 std::string initial = "") {
    std::vector<char> out(bufferSize, '\x7f');
    std::copy(initial.begin(), initial.end(), out.begin());
    out[initial.size()] = '\0';
    std::atomic<int32_t> stop{0};
    ReadCellText(TrackIndexFile{image.data(), image.size()}, cell, out.data(), out.size(), stop);
    EXPECT_NE(std::find(out.begin(), out.end(), '\0'), out.end()) << "output not terminated";
    return std::string(out.data());
}

struct TextRow {
    const char* name;
    std::function<uint16_t(IndexImageBuilder&)> write;  // returns the first cell
    std::string expected;
};

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
        {"bytes 0x80-0xFF are kept",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x05, 'C', 'a', 'f', 0xE9, 0xFF, 0x80});
             return uint16_t(1);
         },
         "Caf\xE9\xFF\x80"},
        {"Shift-JIS bytes as they stand",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x90, 0x82, 0xA0, 0x93, 0xFA});
             return uint16_t(1);
         },
         "\x82\xA0\x93\xFA"},
        {"empty first cell",
         [](IndexImageBuilder& b) {
             WriteCell(b, 1, {0x05});
             return uint16_t(1);
         },
         ""},
        {"cell number past the image", [](IndexImageBuilder&) { return uint16_t(0xFFFF); }, ""},
    };
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        const uint16_t cell = row.write(b);
        EXPECT_EQ(Read(b.Build(), cell), row.expected);
    }
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
         "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x95\xB6\x8E\x9A\x97\xF1"
         "\x82\xC5"},
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
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        const uint16_t cell = row.write(b);
        EXPECT_EQ(Read(b.Build(), cell), row.expected);
    }
}

TEST(ReadCellText, DecodesUtf16) {
    using index_image::Utf16Be;
    struct Row {
        std::u16string text;
        std::string expected;
    };
    const Row rows[] = {
        // U+0105 has 0x05 as its low byte: read byte by byte, it ended the text.
        {u"M\u0105ka", "M?ka"},
        {u"Caf\u00E9 cr\u00E8me br\u00FBl\u00E9e",
         "Caf\xE9 cr\xE8me br\xFBl\xE9"
         "e"},
        {u"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144", "Za?\xF3?? g??l? ja??"},
        {u"tab\there", "tabhere"},
        // Each 16-bit unit is a character: a surrogate pair gave one mark.
        {u"emoji \U0001F3B5 two marks", "emoji ?? two marks"},
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
    EXPECT_EQ(Read(b.Build(), cell), "A?B");
}

TEST(ReadCellText, CutsToTheBufferAndAppends) {
    IndexImageBuilder b;
    const std::string longText(600, 'x');
    const uint16_t cell = b.AddText(longText);
    const std::vector<uint8_t> image = b.Build();
    EXPECT_EQ(Read(image, cell, 128), std::string(127, 'x'));
    EXPECT_EQ(Read(image, cell, 512), std::string(511, 'x'));
    EXPECT_EQ(Read(image, cell, 1), "");
    EXPECT_EQ(Read(image, cell, 10, "ab"), "abxxxxxxx");
}

TEST(ReadCellText, StopFlagEndsTheWalk) {
    IndexImageBuilder b;
    const uint16_t cell = b.AddText("stopped early");
    const std::vector<uint8_t> image = b.Build();
    char out[TEXT_BUFFER_SIZE] = "";
    std::atomic<int32_t> stop{1};
    ReadCellText(TrackIndexFile{image.data(), image.size()}, cell, out, sizeof out, stop);
    EXPECT_LE(std::string(out).size(), 1u);
}

}  // namespace
