// The listing window's tables, row by row and choice by choice, against the
// texts, widths, ids and flags the panel is meant to show.
#include "panel/listing_tables.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "settings/format_settings.h"

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
    uint32_t optionId;  // format rows: slot number; the mode bit is added
    uint32_t flags;
    ControlKind kind;
    bool hasSortItems;
};

constexpr uint32_t FORMAT = ROW_HAS_CHOICES | ROW_SAME_LINE;
constexpr uint32_t INDENT = ROW_LABEL_ONLY | ROW_SAME_LINE;
#define BLANK \
    { "", 100, 230, 0, ROW_LABEL_ONLY, NO_CONTROL, false }
#define SLOT(k) \
    { "", 0, 100, 10 + (k), FORMAT, CONTROL_COMBO_BOX, false }
const ExpectedRow EXPECTED_ROWS[36] = {
    {"First sort by", 110, 230, 1, ROW_SAME_LINE, CONTROL_COMBO_BOX, true},
    {"  Case Sensitive:", 120, 20, 4, ROW_SAME_LINE, CONTROL_CHECK_BOX, false},
    {nullptr, 200, 20, 7, 0, CONTROL_CHECK_BOX, false},
    {"Then sort by", 110, 230, 2, ROW_SAME_LINE, CONTROL_COMBO_BOX, true},
    {"  Case Sensitive:", 120, 20, 5, 0, CONTROL_CHECK_BOX, false},
    {"Finally sort by", 110, 230, 3, ROW_SAME_LINE, CONTROL_COMBO_BOX, true},
    {"  Case Sensitive:", 120, 20, 6, 0, CONTROL_CHECK_BOX, false},
    BLANK,
    {"Format:", 60, 0, 0, INDENT, NO_CONTROL, false},
    SLOT(0),
    SLOT(1),
    SLOT(2),
    SLOT(3),
    SLOT(4),
    SLOT(5),
    SLOT(6),
    BLANK,
    BLANK,
    {"        ", 60, 0, 0, INDENT, NO_CONTROL, false},
    SLOT(7),
    SLOT(8),
    SLOT(9),
    SLOT(10),
    SLOT(11),
    SLOT(12),
    SLOT(13),
    BLANK,
    BLANK,
    {"        ", 60, 0, 0, INDENT, NO_CONTROL, false},
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

void ExpectTerminator(const OptionRow& row) {
    EXPECT_EQ(row.label, nullptr);
    EXPECT_EQ(row.labelWidth, 0);
    EXPECT_EQ(row.controlWidth, 0);
    EXPECT_EQ(row.optionId, 0u);
    EXPECT_EQ(row.flags, 0u);
    EXPECT_EQ(row.kind, NO_CONTROL);
    EXPECT_EQ(row.items, nullptr);
    EXPECT_EQ(row.choices, nullptr);
}

// The one row under a separator (amount) or "<Custom>" (custom text).
void ExpectChildTable(const OptionRow* table, const char* label, uint32_t flags, const char* text,
                      uint32_t optionId) {
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Text(table[0].label), label);
    EXPECT_EQ(table[0].labelWidth, 45);
    EXPECT_EQ(table[0].controlWidth, 45);
    EXPECT_EQ(table[0].optionId, optionId);
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
    EXPECT_EQ(row.optionId, 100u);
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
        for (int i = 0; i < 36; ++i) {
            SCOPED_TRACE(testing::Message() << m.name << " row " << i + 1);
            const ExpectedRow& e = EXPECTED_ROWS[i];
            const OptionRow& row = m.rows[i];
            const bool isFormat = e.flags & ROW_HAS_CHOICES;
            EXPECT_EQ(Text(row.label), e.label ? e.label : m.roundingLabel);
            EXPECT_EQ(row.labelWidth, e.labelWidth);
            EXPECT_EQ(row.controlWidth, e.controlWidth);
            EXPECT_EQ(row.optionId, isFormat ? (e.optionId | m.modeBit) : e.optionId);
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
            const uint32_t slot = e.optionId - 10;
            const uint32_t paramId = (40 + slot) | m.modeBit;
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
                    ExpectChildTable(c.child, "Custom:", 0, "", paramId);
                    childTables.insert(c.child);
                } else {
                    ExpectChildTable(c.child, "Amount:", ROW_NUMERIC, "1", paramId);
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
