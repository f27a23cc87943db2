// libFuzzer entry: a sequence of gets and sets through the settings handler
// with arbitrary option ids, texts (up to a whole unterminated 255-byte
// buffer) and busy states. After each call: a set changes only the bytes of
// its own setting and runs only the refreshes it needs, a refused call
// changes nothing, a get answers a terminated text, and the settings stay
// valid (a known mode, keys 1..14, flags 0 or 1, every field terminated).
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "settings/busy_flag.h"
#include "settings/format_settings.h"
#include "settings/settings_handler.h"
#include "text/utf8.h"

using fuzz_input::Check;

namespace {

std::string gRefreshes;
void OnClear() { gRefreshes += 'c'; }
void OnRebuild() { gRefreshes += 'b'; }
void OnReorder() { gRefreshes += 'r'; }
void OnPreview() { gRefreshes += 'p'; }

struct Span {
    size_t at;
    size_t size;
};

size_t OffsetOf(const void* p) {
    return size_t(static_cast<const uint8_t*>(p) - reinterpret_cast<const uint8_t*>(&gFormatSettings));
}

// The bytes of the settings that a set of the option id may change, and
// the refreshes it runs; size 0 for ids that no set accepts.
Span SpanOf(uint32_t id, const char** refreshes) {
    const FormatSettings& s = gFormatSettings;
    const uint32_t number = id & OPTION_NUMBER_MASK;
    const FormatTable* table = (id & FULL_LISTING)    ? &s.fullFormat
                               : (id & GROUP_LISTING) ? &s.groupFormat
                                                      : nullptr;
    *refreshes = "";
    if (number >= 1 && number <= 3) {
        *refreshes = "r";
        return {OffsetOf(&s.sortLevels[number - 1].key), sizeof(uint32_t)};
    }
    if (number >= 4 && number <= 6) {
        *refreshes = "r";
        return {OffsetOf(&s.sortLevels[number - 4].caseSensitive), sizeof(uint32_t)};
    }
    if (number == 7) {
        *refreshes = "p";
        return {OffsetOf(&s.roundLengths), sizeof(uint32_t)};
    }
    if (table && number >= 10 && number <= 30) {
        *refreshes = "p";
        return {OffsetOf(&table->slots[number - 10]),
                sizeof(FormatSlot)};  // the token, and the param on "<Custom>"
    }
    if (table && number >= 40 && number <= 60) {
        *refreshes = "p";
        return {OffsetOf(table->slots[number - 40].param), FORMAT_FIELD_SIZE};
    }
    if (number == 100) {
        *refreshes = "cbrp";
        return {OffsetOf(&s.listingMode), sizeof(uint32_t)};
    }
    return {0, 0};
}

bool IsTerminated(const char* field) { return std::memchr(field, '\0', FORMAT_FIELD_SIZE) != nullptr; }

void CheckValid() {
    const FormatSettings& s = gFormatSettings;
    Check(s.listingMode == FULL_LISTING || s.listingMode == GROUP_LISTING);
    for (const SortLevel& level : s.sortLevels)
        Check(level.key >= 1 && level.key <= 14 && level.caseSensitive <= 1);
    Check(s.roundLengths <= 1);
    for (const FormatTable* table : {&s.fullFormat, &s.groupFormat})
        for (const FormatSlot& slot : table->slots)
            Check(IsTerminated(slot.token) && IsTerminated(slot.param));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace fuzz_input;
    SetFormatDefaults(gFormatSettings);
    SetSettingsRefreshHooks({OnClear, OnRebuild, OnReorder, OnPreview});
    // Exactly the 255 bytes a caller must give: a read past them is caught.
    std::vector<char> text(OPTION_TEXT_SIZE);
    std::vector<char> sent(OPTION_TEXT_SIZE);
    Reader in(data, size);
    for (int calls = 0; !in.IsEmpty() && calls < 1000; ++calls) {
        const uint8_t op = in.Byte();
        const uint32_t modeBits[] = {0, FULL_LISTING, GROUP_LISTING, FULL_LISTING | GROUP_LISTING};
        const uint32_t id = (op & OP_RAW_ID) ? in.U32() : (modeBits[(op >> OP_MODE_SHIFT) & 3] | in.Byte());
        std::memset(text.data(), 0x7F, text.size());
        if (op & OP_DICTIONARY_TEXT) {
            const char* word = HANDLER_DICTIONARY[in.Byte() % HANDLER_DICTIONARY_SIZE];
            std::memcpy(text.data(), word, std::strlen(word) + 1);
        } else {
            const size_t n = in.Byte();
            const size_t taken = in.Take(text.data(), n);
            if (taken < text.size()) text[taken] = '\0';
        }
        sent = text;
        const bool isSet = op & OP_SET;
        gBusy = (op & OP_BUSY) ? 1 : 0;
        const FormatSettings before = gFormatSettings;
        gRefreshes.clear();

        const int result = SettingsHandler(nullptr, id, text.data(), isSet ? 1 : 0);
        const char* refreshes;
        const Span span = SpanOf(id, &refreshes);
        if (!isSet) {
            Check(std::memcmp(&before, &gFormatSettings, sizeof before) == 0 && gRefreshes.empty());
            Check(result == (span.size ? 1 : 0));
            if (result)
                Check(strnlen(text.data(), text.size()) < text.size());
            else
                Check(text == sent);
        } else if (!result) {
            Check(std::memcmp(&before, &gFormatSettings, sizeof before) == 0 && gRefreshes.empty());
            Check(text == sent);
        } else {
            Check(!gBusy && span.size != 0 && gRefreshes == refreshes && text == sent);
            const auto* a = reinterpret_cast<const uint8_t*>(&before);
            const auto* b = reinterpret_cast<const uint8_t*>(&gFormatSettings);
            Check(std::memcmp(a, b, span.at) == 0);
            Check(std::memcmp(a + span.at + span.size, b + span.at + span.size,
                              sizeof before - span.at - span.size) == 0);
            // A flag is set by a leading "1"; a stored text reads back as
            // sent, cut to the field on a character boundary.
            const uint32_t number = id & OPTION_NUMBER_MASK;
            if (number >= 4 && number <= 7)
                Check(*reinterpret_cast<const uint32_t*>(b + span.at) == (sent[0] == '1'));
            if ((number >= 10 && number <= 30) || (number >= 40 && number <= 60)) {
                std::vector<char> back(OPTION_TEXT_SIZE);
                Check(SettingsHandler(nullptr, id, back.data(), 0) == 1);
                const size_t n =
                    Utf8CutLength(sent.data(), strnlen(sent.data(), sent.size()), FORMAT_FIELD_SIZE - 1);
                Check(std::memcmp(back.data(), sent.data(), n) == 0 && back[n] == '\0');
            }
        }
        CheckValid();
    }
    gBusy = 0;
    return 0;
}
