#include "settings/format_file.h"
#include "text/fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Repeated(size_t n, const std::string& piece) {
    std::string text;
    for (size_t i = 0; i < n; ++i) text += piece;
    return text;
}

std::vector<uint8_t> TableBytes(const FormatTable& table) {
    const auto* p = reinterpret_cast<const uint8_t*>(&table);
    return {p, p + sizeof table};
}

// Names the first differing byte by table, slot and offset in the slot.
void ExpectTable(const FormatTable& got, const std::vector<uint8_t>& want, const char* name) {
    const std::vector<uint8_t> bytes = TableBytes(got);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != want[i]) {
            ADD_FAILURE() << name << " slot " << i / sizeof(FormatSlot) << " byte " << i % sizeof(FormatSlot)
                          << ": got " << int(bytes[i]) << ", want " << int(want[i]);
            return;
        }
    }
}

TEST(FormatFile, FreshSettingsWriteTheDefaultImage) {
    FormatSettings s;
    SetFormatDefaults(s);
    std::vector<uint8_t> file(FORMAT_FILE_SIZE, 0xEE);
    WriteFormatFile(s, file.data());

    ASSERT_EQ(FORMAT_FILE_SIZE, 5124u);
    std::vector<uint8_t> want(5124, 0);
    want[0] = 2;
    for (size_t slot = 0; slot < 80; ++slot) {
        std::memcpy(&want[4 + slot * 64], "<None>", 7);
        std::memcpy(&want[4 + slot * 64 + 32], "1", 2);
    }
    for (size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(file[i], want[i]) << "byte " << i << " (slot " << (i - 4) / 64 << ", offset "
                                    << (i - 4) % 64 << ")";
    }
}

TEST(FormatFile, ReadsEachVersionAsFarAsTheFileGoes) {
    // The file's tables: distinct bytes everywhere, with a tail after a
    // terminator that a load must keep as it is.
    FormatSettings source;
    SetFormatDefaults(source);
    for (size_t k = 0; k < FORMAT_SLOT_COUNT; ++k) {
        StoreFieldText(source.fullFormat.slots[k].token, FORMAT_FIELD_SIZE, "Trk Length");
        StoreFieldText(source.fullFormat.slots[k].token, FORMAT_FIELD_SIZE, "-");
        StoreFieldText(source.fullFormat.slots[k].param, FORMAT_FIELD_SIZE, std::to_string(k).c_str());
        StoreFieldText(source.groupFormat.slots[k].token, FORMAT_FIELD_SIZE, "<Custom>");
        StoreFieldText(source.groupFormat.slots[k].param, FORMAT_FIELD_SIZE,
                       ("group " + std::to_string(k)).c_str());
    }
    std::vector<uint8_t> image(FORMAT_FILE_SIZE);
    WriteFormatFile(source, image.data());

    const struct {
        const char* name;
        uint32_t version;
        size_t size;
        int result;
        size_t fullBytes;   // bytes of the Full Listing table taken from the file
        size_t groupBytes;  // bytes of the Group Listing table taken from the file
    } rows[] = {
        {"version 2", 2, 5124, 1, 2560, 2560},
        {"version 0 reads as 2", 0, 5124, 1, 2560, 2560},
        {"version 1 holds the Full Listing only", 1, 2564, 1, 2560, 0},
        {"version 1 ignores any second table", 1, 5124, 1, 2560, 0},
        {"version 2 cut inside the first table", 2, 4 + 3 * 64 + 10, 1, 3 * 64 + 10, 0},
        {"version 2 cut inside the second table", 2, 2564 + 100, 1, 2560, 100},
        {"version 2 with bytes after the tables", 2, 6000, 1, 2560, 2560},
        {"version only", 2, 4, 1, 0, 0},
        {"shorter than a version is version 0", 2, 3, 1, 0, 0},
        {"empty file", 0, 0, 1, 0, 0},
        {"version 3 refused", 3, 5124, 0, 0, 0},
        {"big-endian 2 refused", 0x02000000, 5124, 0, 0, 0},
        {"version 256 refused", 0x100, 5124, 0, 0, 0},
        {"highest version refused", 0xFFFFFFFF, 5124, 0, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> file = image;
        file.resize(std::max<size_t>(file.size(), row.size), 0x55);
        for (int i = 0; i < 4; ++i) file[i] = uint8_t(row.version >> (8 * i));
        file.resize(row.size);

        FormatSettings s;
        SetFormatDefaults(s);
        StoreFieldText(s.groupFormat.slots[7].token, FORMAT_FIELD_SIZE,
                       "Album");  // the group table's own state
        const FormatSettings before = s;
        EXPECT_EQ(ReadFormatFile(file.data(), file.size(), s), row.result);

        std::vector<uint8_t> wantFull = TableBytes(before.fullFormat);
        std::memcpy(wantFull.data(), image.data() + 4, row.fullBytes);
        std::vector<uint8_t> wantGroup = TableBytes(before.groupFormat);
        std::memcpy(wantGroup.data(), image.data() + 2564, row.groupBytes);
        ExpectTable(s.fullFormat, wantFull, "full");
        ExpectTable(s.groupFormat, wantGroup, "group");
        EXPECT_EQ(s.listingMode, before.listingMode);
        EXPECT_EQ(s.roundLengths, before.roundLengths);
    }
}

// Unterminated fields are cut to 31 bytes; a field that is not UTF-8 is read
// as Windows-1252 and cut on a character boundary.
TEST(FormatFile, FieldsAreCutTo31BytesAndReadAsUtf8) {
    FormatSettings s;
    SetFormatDefaults(s);
    std::vector<uint8_t> file(FORMAT_FILE_SIZE);
    WriteFormatFile(s, file.data());
    FormatSlot* full = reinterpret_cast<FormatSlot*>(file.data() + 4);
    FormatSlot* group = reinterpret_cast<FormatSlot*>(file.data() + 2564);
    std::memset(full[0].token, 'T', FORMAT_FIELD_SIZE);
    std::memset(full[0].param, 'P', FORMAT_FIELD_SIZE);
    std::memset(group[39].param, 'Q', FORMAT_FIELD_SIZE);     // the file's very last field
    std::memset(group[5].token, 'A', FORMAT_FIELD_SIZE - 1);  // 31 characters and a terminator: kept
    std::memset(group[5].param, 'B', FORMAT_FIELD_SIZE);
    group[5].param[0] = '\0';  // a terminator first, then a tail: kept whole
    std::strcpy(full[1].param, "Caf\xE9 \x80");
    std::memset(full[2].param, 0xE9, 20);
    std::strcpy(full[3].param, "Caf\u00E9 \u20AC");
    std::memset(full[4].token, 0, FORMAT_FIELD_SIZE);
    full[4].token[0] = '\xBB';
    // Forms of UTF-8 shape that are not UTF-8: read as Windows-1252.
    std::strcpy(full[5].param, "\xED\xA0\x80");      // U+D800, a surrogate
    std::strcpy(full[6].param, "\xED\xBF\xBF");      // U+DFFF, the last surrogate
    std::strcpy(full[7].param, "\xC0\xAF");          // '/' overlong
    std::strcpy(full[8].param, "\xF4\x90\x80\x80");  // U+110000
    std::strcpy(full[9].param, "\xED\x9F\xBF");      // U+D7FF, just below the surrogates: UTF-8

    ASSERT_EQ(ReadFormatFile(file.data(), file.size(), s), 1);
    const struct {
        const char* name;
        const char* field;
        std::string want;  // all 32 bytes
    } rows[] = {
        {"full slot 0 token", s.fullFormat.slots[0].token, std::string(31, 'T') + '\0'},
        {"full slot 0 param", s.fullFormat.slots[0].param, std::string(31, 'P') + '\0'},
        {"group slot 39 param", s.groupFormat.slots[39].param, std::string(31, 'Q') + '\0'},
        {"group slot 5 token", s.groupFormat.slots[5].token, std::string(31, 'A') + '\0'},
        {"group slot 5 param", s.groupFormat.slots[5].param, '\0' + std::string(31, 'B')},
        {"1252 custom text", s.fullFormat.slots[1].param, "Caf\u00E9 \u20AC" + std::string(23, '\0')},
        {"1252 text cut", s.fullFormat.slots[2].param, Repeated(15, "\u00E9") + std::string(2, '\0')},
        {"UTF-8 as it stands", s.fullFormat.slots[3].param, "Caf\u00E9 \u20AC" + std::string(23, '\0')},
        {"1252 token", s.fullFormat.slots[4].token, "\u00BB" + std::string(30, '\0')},
        {"surrogate U+D800", s.fullFormat.slots[5].param, "\u00ED\u00A0\u20AC" + std::string(25, '\0')},
        {"surrogate U+DFFF", s.fullFormat.slots[6].param, "\u00ED\u00BF\u00BF" + std::string(26, '\0')},
        {"overlong", s.fullFormat.slots[7].param, "\u00C0\u00AF" + std::string(28, '\0')},
        {"past U+10FFFF", s.fullFormat.slots[8].param,
         "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC" + std::string(22, '\0')},
        {"U+D7FF as it stands", s.fullFormat.slots[9].param, "\xED\x9F\xBF" + std::string(29, '\0')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(std::string(row.field, FORMAT_FIELD_SIZE), row.want);
    }
}

}  // namespace
