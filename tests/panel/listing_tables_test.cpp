// The listing window's tables, row by row and choice by choice, against the
// texts, widths, ids and flags the panel is meant to show.
#include "panel/listing_tables.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "settings/busy_flag.h"
#include "settings/format_settings.h"
#include "settings/settings_handler.h"

namespace {

std::vector<std::string> Split(const char* items) {
    std::vector<std::string> out;
    std::string item;
    for (const char* c = items; *c; ++c) {
        if (*c == ',') {
            out.push_back(item);
            item.clear();
        } else {
            item += *c;
        }
    }
    out.push_back(item);
    return out;
}

std::string Text(const char* s) { return s ? s : "(null)"; }

struct ExpectedRow {
    const char* label;  // null: the mode's rounding label
    int labelWidth, controlWidth;
    const char* edits;  // what a set through the row's option id changes; format rows: "slot"
    uint32_t flags;
    ControlKind kind;
    bool hasSortItems;
};

constexpr uint32_t FORMAT = ROW_HAS_CHOICES | ROW_SAME_LINE;
constexpr uint32_t INDENT = ROW_LABEL_ONLY | ROW_SAME_LINE;
// The k-th format row on the panel is the k-th slot of the mode's table.
#define BLANK \
    { "", 100, 230, "refused", ROW_LABEL_ONLY, CONTROL_NONE, false }
#define SLOT(k) \
    { "", 0, 100, "slot", FORMAT, CONTROL_COMBO_BOX, false }
const ExpectedRow EXPECTED_ROWS[36] = {
    {"First sort by", 110, 230, "sort key 1", ROW_SAME_LINE, CONTROL_COMBO_BOX, true},
    {"  Case Sensitive:", 120, 20, "case 1", ROW_SAME_LINE, CONTROL_CHECK_BOX, false},
    {nullptr, 200, 20, "rounding", 0, CONTROL_CHECK_BOX, false},
    {"Then sort by", 110, 230, "sort key 2", ROW_SAME_LINE, CONTROL_COMBO_BOX, true},
    {"  Case Sensitive:", 120, 20, "case 2", 0, CONTROL_CHECK_BOX, false},
    {"Finally sort by", 110, 230, "sort key 3", ROW_SAME_LINE, CONTROL_COMBO_BOX, true},
    {"  Case Sensitive:", 120, 20, "case 3", 0, CONTROL_CHECK_BOX, false},
    BLANK,
    {"Format:", 60, 0, "refused", INDENT, CONTROL_NONE, false},
    SLOT(0),
    SLOT(1),
    SLOT(2),
    SLOT(3),
    SLOT(4),
    SLOT(5),
    SLOT(6),
    BLANK,
    BLANK,
    {"        ", 60, 0, "refused", INDENT, CONTROL_NONE, false},
    SLOT(7),
    SLOT(8),
    SLOT(9),
    SLOT(10),
    SLOT(11),
    SLOT(12),
    SLOT(13),
    BLANK,
    BLANK,
    {"        ", 60, 0, "refused", INDENT, CONTROL_NONE, false},
    SLOT(14),
    SLOT(15),
    SLOT(16),
    SLOT(17),
    SLOT(18),
    SLOT(19),
    SLOT(20),
};
#undef BLANK
#undef SLOT

struct Mode {
    const char* name;
    OptionRow* rows;
    uint32_t modeBit;
    const char* roundingLabel;
    std::vector<std::string> sortItems;
    std::vector<std::string> tokens;
    size_t plainTokens;  // tokens that reveal no child rows
};

std::vector<Mode> Modes() {
    const std::vector<std::string> separators = {"{",      "}",       "-",     "(",       ")",       "[",
                                                 "]",      "|",       ":",     "\\",      "/",       "<CR>",
                                                 "<CRLF>", "<Space>", "<TAB>", "<Comma>", "<Custom>"};
    std::vector<std::string> track = {"<None>", "Group", "Trk Number", "Artist",
                                      "Album",  "Title", "Trk Length", "Trk Format"};
    std::vector<std::string> group = {"<None>", "Grp Name", "Grp Number", "Grp Length"};
    track.insert(track.end(), separators.begin(), separators.end());
    track.push_back("Rec Date");  // after the others, revealing no child rows
    group.insert(group.end(), separators.begin(), separators.end());
    return {
        {"full",
         FullListingRows,
         FULL_LISTING,
         "     Track length rounding:",
         {"Group Name (Ascending Order)", "Artist (Ascending Order)", "Album (Ascending Order)",
          "Title (Ascending Order)", "Track Number (Ascending Order)", "Track Length (Ascending Order)",
          "Bitrate (Ascending Order)", "Group Name (Decending Order)", "Artist (Decending Order)",
          "Album (Decending Order)", "Title (Decending Order)", "Track Number (Decending Order)",
          "Track Length (Decending Order)", "Bitrate (Decending Order)", "Recorded (Ascending Order)",
          "Recorded (Decending Order)"},
         track,
         8},
        {"group",
         GroupListingRows,
         GROUP_LISTING,
         "     Group length rounding:",
         {"Group Name (Ascending Order)", "Group Number (Ascending Order)", "Group Length (Ascending Order)",
          "Group Name (Decending Order)", "Group Number (Decending Order)", "Group Length (Decending Order)"},
         group,
         4},
    };
}

// Sets text through optionId as the panel does, from the start-up settings,
// and names the one setting that changed ("nothing" when none did, "refused"
// when the set was).
std::string WhatASetChanges(uint32_t optionId, const char* text) {
    SetFormatDefaults(gFormatSettings);
    gBusy = 0;
    const FormatSettings before = gFormatSettings;
    char value[OPTION_TEXT_SIZE] = {};
    std::snprintf(value, sizeof value, "%s", text);
    if (!SettingsHandler(nullptr, optionId, value, 1)) return "refused";
    const FormatSettings& after = gFormatSettings;
    std::vector<std::string> changed;
    for (int i = 0; i < 3; ++i) {
        if (after.sortLevels[i].key != before.sortLevels[i].key)
            changed.push_back("sort key " + std::to_string(i + 1));
        if (after.sortLevels[i].caseSensitive != before.sortLevels[i].caseSensitive)
            changed.push_back("case " + std::to_string(i + 1));
    }
    if (after.roundLengths != before.roundLengths) changed.push_back("rounding");
    if (after.listingMode != before.listingMode) changed.push_back("mode");
    for (auto table : {&FormatSettings::fullFormat, &FormatSettings::groupFormat}) {
        const char* name = table == &FormatSettings::fullFormat ? "full" : "group";
        for (int k = 0; k < FORMAT_SLOT_COUNT; ++k) {
            const FormatSlot& a = (after.*table).slots[k];
            const FormatSlot& b = (before.*table).slots[k];
            const std::string slot = std::string(name) + " slot " + std::to_string(k);
            if (std::memcmp(a.token, b.token, sizeof a.token) != 0) changed.push_back(slot + " token");
            if (std::memcmp(a.param, b.param, sizeof a.param) != 0) changed.push_back(slot + " param");
        }
    }
    SetFormatDefaults(gFormatSettings);
    if (changed.empty()) return "nothing";
    std::string all = changed[0];
    for (size_t i = 1; i < changed.size(); ++i) all += ", " + changed[i];
    return all;
}

void ExpectTerminator(const OptionRow& row) {
    EXPECT_EQ(row.label, nullptr);
    EXPECT_EQ(row.labelWidth, 0);
    EXPECT_EQ(row.controlWidth, 0);
    EXPECT_EQ(row.optionId, 0u);
    EXPECT_EQ(row.flags, 0u);
    EXPECT_EQ(row.kind, ControlKind{});  // all zero, as the tables are filled
    EXPECT_EQ(row.items, nullptr);
    EXPECT_EQ(row.choices, nullptr);
}

// The one row under a separator (amount) or "<Custom>" (custom text).
void ExpectChildTable(const OptionRow* table, const char* label, uint32_t flags, const char* text,
                      const std::string& edits) {
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Text(table[0].label), label);
    EXPECT_EQ(table[0].labelWidth, 45);
    EXPECT_EQ(table[0].controlWidth, 45);
    EXPECT_EQ(WhatASetChanges(table[0].optionId, "3"), edits);
    EXPECT_EQ(table[0].flags, flags);
    EXPECT_EQ(table[0].kind, CONTROL_EDIT);
    EXPECT_EQ(Text(table[0].items), text);
    EXPECT_EQ(table[0].choices, nullptr);
    ExpectTerminator(table[1]);
}

TEST(ListingTables, ListTypeRowAndItsTwoChoices) {
    BuildListingTables();
    const OptionRow& row = ListTypeTable[0];
    EXPECT_EQ(Text(row.label), "List Type");
    EXPECT_EQ(row.labelWidth, 110);
    EXPECT_EQ(row.controlWidth, 230);
    EXPECT_EQ(WhatASetChanges(row.optionId, "Group Listing"), "mode");
    EXPECT_EQ(row.flags, ROW_HAS_CHOICES);
    EXPECT_EQ(row.kind, CONTROL_COMBO_BOX);
    EXPECT_EQ(Text(row.items), "Full Listing,Group Listing");
    ASSERT_NE(row.choices, nullptr);
    EXPECT_EQ(Text(row.choices[0].text), "Full Listing");
    EXPECT_EQ(row.choices[0].child, FullListingRows);
    EXPECT_EQ(row.choices[0].active, 1);
    EXPECT_EQ(Text(row.choices[1].text), "Group Listing");
    EXPECT_EQ(row.choices[1].child, GroupListingRows);
    EXPECT_EQ(row.choices[1].active, 0);
    EXPECT_EQ(row.choices[2].child, nullptr);
    ExpectTerminator(ListTypeTable[1]);
    ExpectTerminator(EmptyTable[0]);
}

// Every row of both modes; every format row's choice list in item order with
// its children: the shared empty table, or the slot's own amount or custom
// table of that mode, with the slot's param id.
TEST(ListingTables, RowsAndChoicesOfBothModes) {
    BuildListingTables();
    std::set<const OptionRow*> childTables;
    for (const Mode& m : Modes()) {
        int slotsSeen = 0;
        for (int i = 0; i < 36; ++i) {
            SCOPED_TRACE(testing::Message() << m.name << " row " << i + 1);
            const ExpectedRow& e = EXPECTED_ROWS[i];
            const OptionRow& row = m.rows[i];
            const bool isFormat = e.flags & ROW_HAS_CHOICES;
            EXPECT_EQ(Text(row.label), e.label ? e.label : m.roundingLabel);
            EXPECT_EQ(row.labelWidth, e.labelWidth);
            EXPECT_EQ(row.controlWidth, e.controlWidth);
            const std::string slot = m.name + std::string(" slot ") + std::to_string(slotsSeen);
            if (e.kind == CONTROL_CHECK_BOX) {
                // Rounding starts on, the case flags off.
                EXPECT_EQ(WhatASetChanges(row.optionId, e.label ? "1" : "0"), e.edits);
            } else if (e.hasSortItems) {
                EXPECT_EQ(WhatASetChanges(row.optionId, Split(row.items).back().c_str()), e.edits);
            } else if (isFormat) {
                EXPECT_EQ(WhatASetChanges(row.optionId, m.tokens[1].c_str()), slot + " token");
            } else {
                EXPECT_EQ(WhatASetChanges(row.optionId, "1"), e.edits);
            }
            EXPECT_EQ(row.flags, e.flags);
            EXPECT_EQ(row.kind, e.kind);
            if (e.hasSortItems) {
                ASSERT_NE(row.items, nullptr);
                EXPECT_EQ(Split(row.items), m.sortItems);
            } else if (isFormat) {
                ASSERT_NE(row.items, nullptr);
                EXPECT_EQ(Split(row.items), m.tokens);
            } else {
                EXPECT_EQ(row.items, nullptr);
            }
            if (!isFormat) {
                EXPECT_EQ(row.choices, nullptr);
                continue;
            }
            ++slotsSeen;
            ASSERT_NE(row.choices, nullptr);
            const OptionRow* amount = nullptr;
            for (size_t t = 0; t < m.tokens.size(); ++t) {
                SCOPED_TRACE(m.tokens[t]);
                const OptionChoice& c = row.choices[t];
                EXPECT_EQ(Text(c.text), m.tokens[t]);
                EXPECT_EQ(c.active, t == 0 ? 1 : 0);
                if (t < m.plainTokens || m.tokens[t] == "Rec Date") {
                    EXPECT_EQ(c.child, EmptyTable);
                } else if (m.tokens[t] == "<Custom>") {
                    ExpectChildTable(c.child, "Custom:", 0, "", slot + " param");
                    childTables.insert(c.child);
                } else {
                    ExpectChildTable(c.child, "Amount:", ROW_NUMERIC, "1", slot + " param");
                    // One amount table per slot, shared by its separators.
                    if (amount == nullptr) amount = c.child;
                    EXPECT_EQ(c.child, amount);
                    childTables.insert(c.child);
                }
            }
            EXPECT_EQ(row.choices[m.tokens.size()].child, nullptr);
            EXPECT_EQ(row.choices[m.tokens.size()].text, nullptr);
        }
        ExpectTerminator(m.rows[36]);
        EXPECT_EQ(slotsSeen, FORMAT_USED_SLOTS);
    }
    // 21 slots x 2 modes x (amount, custom), none shared between slots or modes.
    EXPECT_EQ(childTables.size(), 84u);
}

TEST(ListingTables, BuildingAgainRestoresTheStartUpFlags) {
    BuildListingTables();
    ListTypeTable[0].choices[0].active = 0;
    ListTypeTable[0].choices[1].active = 1;
    FullListingRows[9].choices[0].active = 0;
    FullListingRows[9].choices[20].active = 1;
    GroupListingRows[35].choices[3].active = 1;
    BuildListingTables();
    EXPECT_EQ(ListTypeTable[0].choices[0].active, 1);
    EXPECT_EQ(ListTypeTable[0].choices[1].active, 0);
    for (OptionRow* rows : {FullListingRows, GroupListingRows}) {
        for (int i = 0; i < 36; ++i) {
            if (rows[i].choices == nullptr) continue;
            for (int t = 0; rows[i].choices[t].child != nullptr; ++t) {
                EXPECT_EQ(rows[i].choices[t].active, t == 0 ? 1 : 0) << "row " << i + 1 << " choice " << t;
            }
        }
    }
}

}  // namespace
