#include "panel/listing_tables.h"

#include <cstring>

#include "panel/option_values.h"
#include "settings/format_settings.h"
#include "settings/listing_words.h"
#include "settings/settings_handler.h"

namespace {

constexpr int LISTING_ROW_COUNT = 36;
constexpr size_t TRACK_TOKEN_COUNT = TokenCountIn(FULL_LISTING);
constexpr size_t GROUP_TOKEN_COUNT = TokenCountIn(GROUP_LISTING);

// The sort keys each listing's sort rows offer, in item order; their texts
// are the mode's wording of each key. The recording time comes last, so the
// older items keep their places; a group has no recording time.
constexpr SortKey TRACK_SORT_KEYS[] = {
    SORT_GROUP_NAME_ASC, SORT_ARTIST_ASC,   SORT_ALBUM_ASC,       SORT_TITLE_ASC,     SORT_NUMBER_ASC,
    SORT_LENGTH_ASC,     SORT_BITRATE_ASC,  SORT_GROUP_NAME_DESC, SORT_ARTIST_DESC,   SORT_ALBUM_DESC,
    SORT_TITLE_DESC,     SORT_NUMBER_DESC,  SORT_LENGTH_DESC,     SORT_BITRATE_DESC,  SORT_RECORDED_ASC,
    SORT_RECORDED_DESC,
};
constexpr SortKey GROUP_SORT_KEYS[] = {
    SORT_GROUP_NAME_ASC,  SORT_NUMBER_ASC,  SORT_LENGTH_ASC,
    SORT_GROUP_NAME_DESC, SORT_NUMBER_DESC, SORT_LENGTH_DESC,
};
constexpr size_t TRACK_SORT_KEY_COUNT = sizeof TRACK_SORT_KEYS / sizeof TRACK_SORT_KEYS[0];
constexpr size_t GROUP_SORT_KEY_COUNT = sizeof GROUP_SORT_KEYS / sizeof GROUP_SORT_KEYS[0];

// Items texts of the combo rows, joined from the word tables. Each item is
// cut to ITEM_TEXT_MAX characters, as the panel reads items, so a text of
// count items always fits in count * (ITEM_TEXT_MAX + 1) bytes.
constexpr size_t ItemsSize(size_t count) { return count * (ITEM_TEXT_MAX + 1); }
char TrackSortItems[ItemsSize(TRACK_SORT_KEY_COUNT)];
char GroupSortItems[ItemsSize(GROUP_SORT_KEY_COUNT)];
char TrackTokenItems[ItemsSize(TRACK_TOKEN_COUNT)];
char GroupTokenItems[ItemsSize(GROUP_TOKEN_COUNT)];
char ListTypeItems[ItemsSize(2)];

// Appends item to the comma-separated items text in out (size bytes, from
// the items' count as above).
void AppendItem(char* out, size_t size, const char* item) {
    size_t n = std::strlen(out);
    if (n > 0 && n + 1 < size) out[n++] = ',';
    for (size_t i = 0; item[i] != '\0' && i < ITEM_TEXT_MAX && n + 1 < size; ++i) out[n++] = item[i];
    out[n] = '\0';
}

void JoinSortItems(char* out, size_t size, const SortKey* keys, size_t count, ListingMode mode) {
    out[0] = '\0';
    for (size_t i = 0; i < count; ++i) AppendItem(out, size, SortKeyText(keys[i], mode));
}

void JoinTokenItems(char* out, size_t size, ListingMode mode) {
    out[0] = '\0';
    for (const FormatToken& t : FORMAT_TOKENS)
        if (t.modes & mode) AppendItem(out, size, t.name);
}

// The rows of one listing mode. Sort items, the rounding label, the format
// rows' mode bit, items and choice lists are filled in per mode.
constexpr uint32_t FORMAT_ROW = ROW_HAS_CHOICES | ROW_SAME_LINE;
constexpr uint32_t INDENT_ROW = ROW_LABEL_ONLY | ROW_SAME_LINE;
#define BLANK_ROW \
    { "", 100, 230, 0, ROW_LABEL_ONLY, NO_CONTROL, nullptr, nullptr }
#define FORMAT_ROW_OF(slot) \
    { "", 0, 100, OPTION_SLOT_TOKEN_FIRST + (slot), FORMAT_ROW, CONTROL_COMBO_BOX, nullptr, nullptr }
#define SEVEN_FORMAT_ROWS(first)                                                                        \
    FORMAT_ROW_OF(first), FORMAT_ROW_OF(first + 1), FORMAT_ROW_OF(first + 2), FORMAT_ROW_OF(first + 3), \
        FORMAT_ROW_OF(first + 4), FORMAT_ROW_OF(first + 5), FORMAT_ROW_OF(first + 6)
const OptionRow LISTING_ROWS_TEMPLATE[LISTING_ROW_COUNT] = {
    {"First sort by", 110, 230, OPTION_SORT_KEY_FIRST, ROW_SAME_LINE, CONTROL_COMBO_BOX, nullptr, nullptr},
    {"  Case Sensitive:", 120, 20, OPTION_SORT_CASE_FIRST, ROW_SAME_LINE, CONTROL_CHECK_BOX, nullptr,
     nullptr},
    {nullptr, 200, 20, OPTION_ROUND_LENGTHS, 0, CONTROL_CHECK_BOX, nullptr, nullptr},
    {"Then sort by", 110, 230, OPTION_SORT_KEY_FIRST + 1, ROW_SAME_LINE, CONTROL_COMBO_BOX, nullptr, nullptr},
    {"  Case Sensitive:", 120, 20, OPTION_SORT_CASE_FIRST + 1, 0, CONTROL_CHECK_BOX, nullptr, nullptr},
    {"Finally sort by", 110, 230, OPTION_SORT_KEY_FIRST + 2, ROW_SAME_LINE, CONTROL_COMBO_BOX, nullptr,
     nullptr},
    {"  Case Sensitive:", 120, 20, OPTION_SORT_CASE_FIRST + 2, 0, CONTROL_CHECK_BOX, nullptr, nullptr},
    BLANK_ROW,
    {"Format:", 60, 0, 0, INDENT_ROW, NO_CONTROL, nullptr, nullptr},
    SEVEN_FORMAT_ROWS(0),
    BLANK_ROW,
    BLANK_ROW,
    {"        ", 60, 0, 0, INDENT_ROW, NO_CONTROL, nullptr, nullptr},
    SEVEN_FORMAT_ROWS(7),
    BLANK_ROW,
    BLANK_ROW,
    {"        ", 60, 0, 0, INDENT_ROW, NO_CONTROL, nullptr, nullptr},
    SEVEN_FORMAT_ROWS(14),
};
#undef SEVEN_FORMAT_ROWS
#undef FORMAT_ROW_OF
#undef BLANK_ROW
constexpr int ROUNDING_ROW = 2;

// The child rows of one slot: its repeat amount, or its custom text. Both
// edit the slot's param.
const OptionRow AMOUNT_ROW_TEMPLATE = {"Amount:",   45,           45,  OPTION_SLOT_PARAM_FIRST,
                                       ROW_NUMERIC, CONTROL_EDIT, "1", nullptr};
const OptionRow CUSTOM_ROW_TEMPLATE = {"Custom:", 45,           45, OPTION_SLOT_PARAM_FIRST,
                                       0,         CONTROL_EDIT, "", nullptr};

struct ModeTemplate {
    ListingMode mode;  // also the mode bit of the format rows' option ids
    const char* roundingLabel;
    const char* sortItems;
    const char* tokenItems;
    OptionRow* rows;
};

// Per slot: a choice list with its ending entry, and two one-row tables.
OptionChoice FullChoices[FORMAT_USED_SLOTS * (TRACK_TOKEN_COUNT + 1)];
OptionChoice GroupChoices[FORMAT_USED_SLOTS * (GROUP_TOKEN_COUNT + 1)];
OptionRow FullAmountTables[FORMAT_USED_SLOTS][2];
OptionRow FullCustomTables[FORMAT_USED_SLOTS][2];
OptionRow GroupAmountTables[FORMAT_USED_SLOTS][2];
OptionRow GroupCustomTables[FORMAT_USED_SLOTS][2];

OptionChoice ListTypeChoices[] = {
    {FULL_LISTING_TEXT, FullListingRows, 1},
    {GROUP_LISTING_TEXT, GroupListingRows, 0},
    {nullptr, nullptr, 0},
};

void BuildOneRowTable(OptionRow (&table)[2], const OptionRow& row, uint32_t optionId) {
    table[0] = row;
    table[0].optionId = optionId;
    table[1] = OptionRow{};
}

// A format row offers the mode's tokens in table order; a repeated text
// reveals the slot's amount row, "<Custom>" its custom row.
void BuildMode(const ModeTemplate& m, OptionChoice* choiceLists, size_t listLength, OptionRow (*amount)[2],
               OptionRow (*custom)[2]) {
    size_t slot = 0;
    for (int i = 0; i < LISTING_ROW_COUNT; ++i) {
        OptionRow& row = m.rows[i];
        row = LISTING_ROWS_TEMPLATE[i];
        if (i == ROUNDING_ROW) row.label = m.roundingLabel;
        if (row.kind == CONTROL_COMBO_BOX && !(row.flags & ROW_HAS_CHOICES)) row.items = m.sortItems;
        if (!(row.flags & ROW_HAS_CHOICES)) continue;

        const uint32_t paramId = (OPTION_SLOT_PARAM_FIRST + uint32_t(slot)) | m.mode;
        BuildOneRowTable(amount[slot], AMOUNT_ROW_TEMPLATE, paramId);
        BuildOneRowTable(custom[slot], CUSTOM_ROW_TEMPLATE, paramId);
        OptionChoice* list = choiceLists + slot * listLength;
        size_t n = 0;
        for (const FormatToken& token : FORMAT_TOKENS) {
            if (!(token.modes & m.mode)) continue;
            list[n].text = token.name;
            list[n].child = token.writes == TokenWrites::REPEATED_TEXT ? amount[slot]
                            : token.writes == TokenWrites::CUSTOM_TEXT ? custom[slot]
                                                                       : EmptyTable;
            list[n].active = n == 0;  // "<None>", the token of a fresh FormatTable
            ++n;
        }
        list[n] = OptionChoice{};
        row.optionId |= m.mode;
        row.items = m.tokenItems;
        row.choices = list;
        ++slot;
    }
}

}  // namespace

OptionRow FullListingRows[LISTING_ROW_COUNT + 1];
OptionRow GroupListingRows[LISTING_ROW_COUNT + 1];
OptionRow EmptyTable[1] = {};
OptionRow ListTypeTable[] = {
    {"List Type", 110, 230, OPTION_LISTING_MODE, ROW_HAS_CHOICES, CONTROL_COMBO_BOX, ListTypeItems,
     ListTypeChoices},
    {},
};

void BuildListingTables() {
    JoinSortItems(TrackSortItems, sizeof TrackSortItems, TRACK_SORT_KEYS, TRACK_SORT_KEY_COUNT, FULL_LISTING);
    JoinSortItems(GroupSortItems, sizeof GroupSortItems, GROUP_SORT_KEYS, GROUP_SORT_KEY_COUNT,
                  GROUP_LISTING);
    JoinTokenItems(TrackTokenItems, sizeof TrackTokenItems, FULL_LISTING);
    JoinTokenItems(GroupTokenItems, sizeof GroupTokenItems, GROUP_LISTING);
    ListTypeItems[0] = '\0';
    AppendItem(ListTypeItems, sizeof ListTypeItems, ListTypeChoices[0].text);
    AppendItem(ListTypeItems, sizeof ListTypeItems, ListTypeChoices[1].text);
    const ModeTemplate full{FULL_LISTING, "     Track length rounding:", TrackSortItems, TrackTokenItems,
                            FullListingRows};
    const ModeTemplate group{GROUP_LISTING, "     Group length rounding:", GroupSortItems, GroupTokenItems,
                             GroupListingRows};
    BuildMode(full, FullChoices, TRACK_TOKEN_COUNT + 1, FullAmountTables, FullCustomTables);
    BuildMode(group, GroupChoices, GROUP_TOKEN_COUNT + 1, GroupAmountTables, GroupCustomTables);
    FullListingRows[LISTING_ROW_COUNT] = OptionRow{};
    GroupListingRows[LISTING_ROW_COUNT] = OptionRow{};
    EmptyTable[0] = OptionRow{};
    ListTypeChoices[0].active = 1;
    ListTypeChoices[1].active = 0;
}
