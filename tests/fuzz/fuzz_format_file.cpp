// libFuzzer entry: a layouts file of arbitrary bytes loaded over the start-up
// settings, then read back the way the option panel reads it: every get of
// every option number through the settings handler.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "settings/format_file.h"
#include "settings/settings_handler.h"
#include "text/decoders.h"
#include "text/utf8.h"
#include "text/fields.h"

using fuzz_input::Check;

namespace {

bool IsTerminated(const char* field) { return std::memchr(field, '\0', FORMAT_FIELD_SIZE) != nullptr; }

// The field a load must leave: the file's bytes over the old ones as far as
// the file reaches, cut to 31 bytes when that leaves no terminator. A text
// that is not UTF-8 is read as Windows-1252: its characters in UTF-8 as far
// as whole ones fit 31 bytes, then the terminator, over the same bytes.
void CheckField(const char* got, const char* old, const uint8_t* file, size_t fileBytes) {
    char want[FORMAT_FIELD_SIZE];
    std::memcpy(want, old, sizeof want);
    std::memcpy(want, file, fileBytes < sizeof want ? fileBytes : sizeof want);
    if (!IsTerminated(want)) want[FORMAT_FIELD_SIZE - 1] = '\0';
    const size_t n = std::strlen(want);
    if (!IsValidUtf8(want, n)) {
        std::string text;
        for (size_t i = 0; i < n; ++i) {
            char bytes[UTF8_MAX_CHAR_BYTES];
            const size_t k = EncodeUtf8(Windows1252CodePoint(uint8_t(want[i])), bytes);
            if (text.size() + k > FORMAT_FIELD_SIZE - 1) break;
            text.append(bytes, k);
        }
        std::memcpy(want, text.c_str(), text.size() + 1);
        Check(IsValidUtf8(got, std::strlen(got)));
    }
    Check(std::memcmp(got, want, sizeof want) == 0);
}

void CheckTable(const FormatTable& got, const FormatTable& old, const uint8_t* file, size_t fileBytes) {
    for (size_t k = 0; k < FORMAT_SLOT_COUNT; ++k) {
        for (size_t f = 0; f < 2; ++f) {
            const size_t at = k * sizeof(FormatSlot) + f * FORMAT_FIELD_SIZE;
            const size_t has = fileBytes > at ? fileBytes - at : 0;
            const char* gotField = reinterpret_cast<const char*>(&got) + at;
            const char* oldField = reinterpret_cast<const char*>(&old) + at;
            CheckField(gotField, oldField, file + (has ? at : 0), has);
        }
    }
}

// Every get answers 1 with a terminated text inside the buffer, or 0 with
// the buffer untouched; a slot's text is its field up to the terminator.
void CheckEveryGet() {
    const uint32_t modes[] = {0, FULL_LISTING, GROUP_LISTING, FULL_LISTING | GROUP_LISTING};
    std::vector<char> text(OPTION_TEXT_SIZE);
    const std::vector<char> unwritten(OPTION_TEXT_SIZE, 0x7F);
    for (const uint32_t mode : modes) {
        for (uint32_t number = 0; number <= OPTION_LISTING_MODE + 1; ++number) {
            text = unwritten;
            const int answered = SettingsHandler(nullptr, mode | number, text.data(), 0);
            if (!answered) {
                Check(text == unwritten);
                continue;
            }
            const size_t n = strnlen(text.data(), text.size());
            Check(n < text.size());
            const FormatTable& table =
                (mode & FULL_LISTING) ? gFormatSettings.fullFormat : gFormatSettings.groupFormat;
            const bool isToken =
                number >= OPTION_SLOT_TOKEN_FIRST && number < OPTION_SLOT_TOKEN_FIRST + FORMAT_USED_SLOTS;
            const bool isParam =
                number >= OPTION_SLOT_PARAM_FIRST && number < OPTION_SLOT_PARAM_FIRST + FORMAT_USED_SLOTS;
            if (isToken || isParam) {
                Check(mode != 0);
                const FormatSlot& slot =
                    table.slots[number - (isToken ? OPTION_SLOT_TOKEN_FIRST : OPTION_SLOT_PARAM_FIRST)];
                const char* field = isToken ? slot.token : slot.param;
                Check(n < FORMAT_FIELD_SIZE && std::memcmp(text.data(), field, n + 1) == 0);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetFormatDefaults(gFormatSettings);
    // A layout already shown, so a short file's untouched bytes are visible.
    StoreFieldText(gFormatSettings.groupFormat.slots[3].token, FORMAT_FIELD_SIZE, "<Custom>");
    StoreFieldText(gFormatSettings.groupFormat.slots[3].param, FORMAT_FIELD_SIZE,
                   "kept from before the load");
    const FormatSettings before = gFormatSettings;

    const int read = ReadFormatFile(data, size, gFormatSettings);
    uint32_t version = 0;
    if (size >= FORMAT_FILE_VERSION_SIZE) std::memcpy(&version, data, sizeof version);  // little-endian host
    Check(read == (version > FORMAT_FILE_VERSION ? 0 : 1));
    const size_t body = size > FORMAT_FILE_VERSION_SIZE ? size - FORMAT_FILE_VERSION_SIZE : 0;
    const size_t fullBytes = read ? body : 0;
    const size_t groupBytes =
        read && version != 1 && body > sizeof(FormatTable) ? body - sizeof(FormatTable) : 0;
    const uint8_t* fullFile = fullBytes ? data + FORMAT_FILE_VERSION_SIZE : data;
    const uint8_t* groupFile = groupBytes ? fullFile + sizeof(FormatTable) : data;
    CheckTable(gFormatSettings.fullFormat, before.fullFormat, fullFile, fullBytes);
    CheckTable(gFormatSettings.groupFormat, before.groupFormat, groupFile, groupBytes);
    Check(gFormatSettings.listingMode == before.listingMode &&
          gFormatSettings.roundLengths == before.roundLengths);

    CheckEveryGet();
    gFormatSettings.listingMode = GROUP_LISTING;
    CheckEveryGet();

    // What was loaded saves and loads again unchanged.
    std::vector<uint8_t> saved(FORMAT_FILE_SIZE);
    WriteFormatFile(gFormatSettings, saved.data());
    FormatSettings again;
    SetFormatDefaults(again);
    Check(ReadFormatFile(saved.data(), saved.size(), again) == 1);
    Check(std::memcmp(&again.fullFormat, &gFormatSettings.fullFormat, sizeof(FormatTable)) == 0);
    Check(std::memcmp(&again.groupFormat, &gFormatSettings.groupFormat, sizeof(FormatTable)) == 0);
    return 0;
}
