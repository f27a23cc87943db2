#include "panel/listing_tables.h"

#include <cstring>

#include "settings/format_settings.h"
#include "settings/settings_handler.h"

namespace {

constexpr int32_t KIND_NONE = 0;
constexpr int32_t KIND_EDIT = 2;
constexpr int32_t KIND_CHECK_BOX = 5;
constexpr int32_t KIND_COMBO_BOX = 6;

constexpr int LISTING_ROW_COUNT = 36;
constexpr int TRACK_TOKEN_COUNT = 25;
constexpr int GROUP_TOKEN_COUNT = 21;

const char TRACK_SORT_ITEMS[] =
    "Group Name (Ascending Order),Artist (Ascending Order),Album (Ascending Order),"
    "Title (Ascending Order),Track Number (Ascending Order),Track Length (Ascending Order),"
    "Bitrate (Ascending Order),Group Name (Decending Order),Artist (Decending Order),"
    "Album (Decending Order),Title (Decending Order),Track Number (Decending Order),"
    "Track Length (Decending Order),Bitrate (Decending Order)";
const char GROUP_SORT_ITEMS[] =
    "Group Name (Ascending Order),Group Number (Ascending Order),Group Length (Ascending Order),"
    "Group Name (Decending Order),Group Number (Decending Order),Group Length (Decending Order)";
const char TRACK_TOKEN_ITEMS[] =
    "<None>,Group,Trk Number,Artist,Album,Title,Trk Length,Trk Format,"
    "{,},-,(,),[,],|,:,\\,/,<CR>,<CRLF>,<Space>,<TAB>,<Comma>,<Custom>";
const char GROUP_TOKEN_ITEMS[] =
    "<None>,Grp Name,Grp Number,Grp Length,"
    "{,},-,(,),[,],|,:,\\,/,<CR>,<CRLF>,<Space>,<TAB>,<Comma>,<Custom>";

// What a token's choice reveals below its format combo.
enum ChoiceChild {
    SHOWS_NOTHING,
    SHOWS_AMOUNT,
    SHOWS_CUSTOM
};
struct TokenChoice {
    const char* text;
    ChoiceChild child;
};

// Separators and special characters repeat a number of times; "<Custom>"
// takes free text.
#define SEPARATOR_TOKENS                                                                                     \
    {"{", SHOWS_AMOUNT}, {"}", SHOWS_AMOUNT}, {"-", SHOWS_AMOUNT}, {"(", SHOWS_AMOUNT}, {")", SHOWS_AMOUNT}, \
        {"[", SHOWS_AMOUNT}, {"]", SHOWS_AMOUNT}, {"|", SHOWS_AMOUNT}, {":", SHOWS_AMOUNT},                  \
        {"\\", SHOWS_AMOUNT}, {"/", SHOWS_AMOUNT}, {"<CR>", SHOWS_AMOUNT}, {"<CRLF>", SHOWS_AMOUNT},         \
        {"<Space>", SHOWS_AMOUNT}, {"<TAB>", SHOWS_AMOUNT}, {"<Comma>", SHOWS_AMOUNT}, {                     \
        "<Custom>", SHOWS_CUSTOM                                                                             \
    }

const TokenChoice TRACK_TOKENS[TRACK_TOKEN_COUNT] = {
    {"<None>", SHOWS_NOTHING},     {"Group", SHOWS_NOTHING},      {"Trk Number", SHOWS_NOTHING},
    {"Artist", SHOWS_NOTHING},     {"Album", SHOWS_NOTHING},      {"Title", SHOWS_NOTHING},
    {"Trk Length", SHOWS_NOTHING}, {"Trk Format", SHOWS_NOTHING}, SEPARATOR_TOKENS};
const TokenChoice GROUP_TOKENS[GROUP_TOKEN_COUNT] = {{"<None>", SHOWS_NOTHING},
                                                     {"Grp Name", SHOWS_NOTHING},
                                                     {"Grp Number", SHOWS_NOTHING},
                                                     {"Grp Length", SHOWS_NOTHING},
                                                     SEPARATOR_TOKENS};
#undef SEPARATOR_TOKENS

// The rows of one listing mode. Sort items, the rounding label, the format
// rows' mode bit, items and choice lists are filled in per mode.
constexpr uint32_t FORMAT_ROW = ROW_HAS_CHOICES | ROW_SAME_LINE;
constexpr uint32_t INDENT_ROW = ROW_LABEL_ONLY | ROW_SAME_LINE;
#define BLANK_ROW \
    { "", 100, 230, 0, ROW_LABEL_ONLY, KIND_NONE, nullptr, nullptr }
#define FORMAT_ROW_OF(slot) \
    { "", 0, 100, OPTION_SLOT_TOKEN_FIRST + (slot), FORMAT_ROW, KIND_COMBO_BOX, nullptr, nullptr }
#define SEVEN_FORMAT_ROWS(first)                                                                        \
    FORMAT_ROW_OF(first), FORMAT_ROW_OF(first + 1), FORMAT_ROW_OF(first + 2), FORMAT_ROW_OF(first + 3), \
        FORMAT_ROW_OF(first + 4), FORMAT_ROW_OF(first + 5), FORMAT_ROW_OF(first + 6)
const OptionRow LISTING_ROWS_TEMPLATE[LISTING_ROW_COUNT] = {
    {"First sort by", 110, 230, OPTION_SORT_KEY_FIRST, ROW_SAME_LINE, KIND_COMBO_BOX, nullptr, nullptr},
    {"  Case Sensitive:", 120, 20, OPTION_SORT_CASE_FIRST, ROW_SAME_LINE, KIND_CHECK_BOX, nullptr, nullptr},
    {nullptr, 200, 20, OPTION_ROUND_LENGTHS, 0, KIND_CHECK_BOX, nullptr, nullptr},
    {"Then sort by", 110, 230, OPTION_SORT_KEY_FIRST + 1, ROW_SAME_LINE, KIND_COMBO_BOX, nullptr, nullptr},
    {"  Case Sensitive:", 120, 20, OPTION_SORT_CASE_FIRST + 1, 0, KIND_CHECK_BOX, nullptr, nullptr},
    {"Finally sort by", 110, 230, OPTION_SORT_KEY_FIRST + 2, ROW_SAME_LINE, KIND_COMBO_BOX, nullptr, nullptr},
    {"  Case Sensitive:", 120, 20, OPTION_SORT_CASE_FIRST + 2, 0, KIND_CHECK_BOX, nullptr, nullptr},
    BLANK_ROW,
    {"Format:", 60, 0, 0, INDENT_ROW, KIND_NONE, nullptr, nullptr},
    SEVEN_FORMAT_ROWS(0),
    BLANK_ROW,
    BLANK_ROW,
    {"        ", 60, 0, 0, INDENT_ROW, KIND_NONE, nullptr, nullptr},
    SEVEN_FORMAT_ROWS(7),
    BLANK_ROW,
    BLANK_ROW,
    {"        ", 60, 0, 0, INDENT_ROW, KIND_NONE, nullptr, nullptr},
    SEVEN_FORMAT_ROWS(14),
};
#undef SEVEN_FORMAT_ROWS
#undef FORMAT_ROW_OF
#undef BLANK_ROW
constexpr int ROUNDING_ROW = 2;

// The child rows of one slot: its repeat amount, or its custom text. Both
// edit the slot's param.
const OptionRow AMOUNT_ROW_TEMPLATE = {"Amount:",   45,        45,  OPTION_SLOT_PARAM_FIRST,
                                       ROW_NUMERIC, KIND_EDIT, "1", nullptr};
const OptionRow CUSTOM_ROW_TEMPLATE = {"Custom:", 45, 45, OPTION_SLOT_PARAM_FIRST, 0, KIND_EDIT, "", nullptr};

struct ModeTemplate {
    uint32_t modeBit;
    const char* roundingLabel;
    const char* sortItems;
    const char* tokenItems;
    const TokenChoice* tokens;
    int tokenCount;
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
    {"Full Listing", FullListingRows, 1},
    {"Group Listing", GroupListingRows, 0},
    {nullptr, nullptr, 0},
};

void BuildOneRowTable(OptionRow (&table)[2], const OptionRow& row, uint32_t optionId) {
    table[0] = row;
    table[0].optionId = optionId;
    table[1] = OptionRow{};
}

void BuildMode(const ModeTemplate& m, OptionChoice* choiceLists, int listLength, OptionRow (*amount)[2],
               OptionRow (*custom)[2]) {
    int slot = 0;
    for (int i = 0; i < LISTING_ROW_COUNT; ++i) {
        OptionRow& row = m.rows[i];
        row = LISTING_ROWS_TEMPLATE[i];
        if (i == ROUNDING_ROW) row.label = m.roundingLabel;
        if (row.kind == KIND_COMBO_BOX && !(row.flags & ROW_HAS_CHOICES)) row.items = m.sortItems;
        if (!(row.flags & ROW_HAS_CHOICES)) continue;

        const uint32_t paramId = (OPTION_SLOT_PARAM_FIRST + slot) | m.modeBit;
        BuildOneRowTable(amount[slot], AMOUNT_ROW_TEMPLATE, paramId);
        BuildOneRowTable(custom[slot], CUSTOM_ROW_TEMPLATE, paramId);
        OptionChoice* list = choiceLists + slot * listLength;
        for (int t = 0; t < m.tokenCount; ++t) {
            const TokenChoice& token = m.tokens[t];
            list[t].text = token.text;
            list[t].child = token.child == SHOWS_AMOUNT   ? amount[slot]
                            : token.child == SHOWS_CUSTOM ? custom[slot]
                                                          : EmptyTable;
            list[t].active = t == 0;  // "<None>", the token of a fresh FormatTable
        }
        list[m.tokenCount] = OptionChoice{};
        row.optionId |= m.modeBit;
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
    {"List Type", 110, 230, OPTION_LISTING_MODE, ROW_HAS_CHOICES, KIND_COMBO_BOX,
     "Full Listing,Group Listing", ListTypeChoices},
    {},
};

void BuildListingTables() {
    const ModeTemplate full{FULL_LISTING,     "     Track length rounding:",
                            TRACK_SORT_ITEMS, TRACK_TOKEN_ITEMS,
                            TRACK_TOKENS,     TRACK_TOKEN_COUNT,
                            FullListingRows};
    const ModeTemplate group{GROUP_LISTING,    "     Group length rounding:",
                             GROUP_SORT_ITEMS, GROUP_TOKEN_ITEMS,
                             GROUP_TOKENS,     GROUP_TOKEN_COUNT,
                             GroupListingRows};
    BuildMode(full, FullChoices, TRACK_TOKEN_COUNT + 1, FullAmountTables, FullCustomTables);
    BuildMode(group, GroupChoices, GROUP_TOKEN_COUNT + 1, GroupAmountTables, GroupCustomTables);
    FullListingRows[LISTING_ROW_COUNT] = OptionRow{};
    GroupListingRows[LISTING_ROW_COUNT] = OptionRow{};
    EmptyTable[0] = OptionRow{};
    ListTypeChoices[0].active = 1;
    ListTypeChoices[1].active = 0;
}
