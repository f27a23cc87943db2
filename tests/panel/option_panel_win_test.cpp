// The option panel on a real window with a recording table handler: value
// checks and restores, refusals while busy, child rows following the active
// choice, stale rebuild requests, and the registries' limits.
#include "panel/option_panel_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/row_layout.h"
#include "tests/panel/panel_fixture_win.h"
#include "tools/lib/window_driver/window_driver_win.h"

namespace {

constexpr uint32_t TOKEN_ID = 10, CHILD_ID = 40, AMOUNT_ID = 41, CASE_ID = 4, SORT_ID = 1;

OptionRow gAmountChild[] = {{"Amount:", 45, 45, CHILD_ID, ROW_NUMERIC, CONTROL_EDIT, "1", nullptr}, {}};
OptionRow gCustomChild[] = {{"Custom:", 45, 45, CHILD_ID, 0, CONTROL_EDIT, "", nullptr}, {}};
OptionRow gNoRows[] = {{}};
OptionChoice gTokenChoices[] = {{"<None>", gNoRows, 1},
                                {"-", gAmountChild, 0},
                                {"{", gAmountChild, 0},
                                {"<Custom>", gCustomChild, 0},
                                {nullptr, nullptr, 0}};
OptionRow gTable[] = {
    {"Token", 60, 100, TOKEN_ID, ROW_HAS_CHOICES, CONTROL_COMBO_BOX, "<None>,-,{,<Custom>", gTokenChoices},
    {"", 100, 0, 0, ROW_LABEL_ONLY, CONTROL_NONE, nullptr, nullptr},  // the line for the token's child row
    {"Amount", 60, 45, AMOUNT_ID, ROW_NUMERIC, CONTROL_EDIT, "1", nullptr},
    {"Case", 60, 20, CASE_ID, ROW_SAME_LINE, CONTROL_CHECK_BOX, nullptr, nullptr},
    {"Sort", 60, 230, SORT_ID, 0, CONTROL_COMBO_BOX, "Alpha (x),Beta (x),Gamma", nullptr},
    {},
};
constexpr int TABLE_INDEX = 7;
constexpr int ORIGIN_X = 10, ORIGIN_Y = 100;

class OptionPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        for (int i = 0; gTokenChoices[i].child != nullptr; ++i) gTokenChoices[i].active = i == 0;
        gTestOptions.values = {
            {TOKEN_ID, "<None>"}, {CHILD_ID, "1"}, {AMOUNT_ID, "1"}, {CASE_ID, "0"}, {SORT_ID, "Beta (x)"}};
        RegisterOptionTable({TABLE_INDEX, gTable, TestOptionHandler});
        ShowOptionTable(context_, ORIGIN_X, ORIGIN_Y, TABLE_INDEX);
        gTestOptions.calls.clear();
    }

    std::string TextOf(const OptionRow* row) {
        const PanelRowState* s = FindRowState(ReadPanel(), row);
        return s != nullptr ? s->text : "(not on the panel)";
    }
};

// Typed amounts: an invalid entry puts the stored value back and sets it
// once more (the second, accepted set); valid ones are set as typed. Laying
// out a row sets nothing.
TEST_F(OptionPanelTest, NumericEdits) {
    EXPECT_TRUE(gTestOptions.Sets(AMOUNT_ID).empty()) << "showing a value is no change of it";
    struct Case {
        const char* name;
        const char* stored;
        const char* typed;
        const char* shown;
        std::vector<std::string> sets;
    };
    const std::vector<Case> cases = {
        {"\"-\" over \"1\"", "1", "-", "1", {"1"}},
        {"\"12\" sets \"1\", then \"12\"", "1", "12", "12", {"1", "12"}},
        {"the empty text is accepted", "7", "", "", {""}},
        // The restore leaves the caret before the last character, where the
        // next keystroke lands.
        {"a negative number", "4", "-2", "24", {"4", "24"}},
        {"a stored value that is no number is put back as the empty text", "abc", "x", "", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gTestOptions.values[AMOUNT_ID] = c.stored;
        ShowOptionTable(context_, ORIGIN_X, ORIGIN_Y, TABLE_INDEX);
        HWND edit = ControlOf(&gTable[2]);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(TextOf(&gTable[2]), c.stored);
        gTestOptions.calls.clear();
        Type(edit, c.typed);
        EXPECT_EQ(TextOf(&gTable[2]), c.shown);
        EXPECT_EQ(gTestOptions.Sets(AMOUNT_ID), c.sets);
        EXPECT_EQ(QueuedRebuilds(), 0);
    }
}

// While the handler refuses every set, each control goes back to the stored
// value after one refused set: no restore is taken for a new change.
TEST_F(OptionPanelTest, RefusedSetsPutControlsBack) {
    gTestOptions.busy = true;
    HWND check = ControlOf(&gTable[3]);
    window_driver::ClickButton(check);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(gTestOptions.Sets(CASE_ID), std::vector<std::string>{"1"});

    HWND edit = ControlOf(&gTable[2]);
    Type(edit, "5");
    EXPECT_EQ(TextOf(&gTable[2]), "1");
    EXPECT_EQ(gTestOptions.Sets(AMOUNT_ID), std::vector<std::string>{"5"});

    HWND token = ControlOf(&gTable[0]);
    Choose(token, "-");
    EXPECT_EQ(GetComboSelection(token), 0);
    EXPECT_EQ(gTokenChoices[0].active, 1);
    EXPECT_EQ(gTokenChoices[1].active, 0);

    HWND sort = ControlOf(&gTable[4]);
    Choose(sort, "Gamma");
    EXPECT_EQ(TextOf(&gTable[4]), "Beta (x)");
    // A stored value that is none of the items leaves the combo without a selection.
    gTestOptions.values[SORT_ID] = "Delta";
    Choose(sort, "Gamma");
    EXPECT_EQ(GetComboSelection(sort), -1);
    EXPECT_EQ(QueuedRebuilds(), 0);
    EXPECT_EQ(gTestOptions.calls.size(), 10u) << "five refused sets, each followed by one get";

    gTestOptions.busy = false;
    window_driver::ClickButton(check);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(gTestOptions.values[CASE_ID], "1");
}

// The token's child row follows its active choice: appears below the combo
// at the combo's left edge, is laid out again (showing the value stored
// now) when another choice with the same rows becomes active, and goes when
// the choice has none. Re-selecting the shown item asks for nothing.
TEST_F(OptionPanelTest, ChildRowsFollowTheActiveChoice) {
    HWND token = ControlOf(&gTable[0]);
    const int entriesBefore = UsedPanelEntries();
    const int childrenBefore = ChildWindowCount(Window());
    struct Step {
        const char* item;
        const char* stored;      // the child's value, changed behind the panel first
        int rebuilds;            // requests queued by the choice
        const char* childLabel;  // "" when no child row
        const char* childText;
    };
    const Step steps[] = {
        {"<None>", "1", 0, "", ""},
        {"-", "1", 1, "Amount:", "1"},
        {"-", "2", 0, "Amount:", "1"},
        {"{", "3", 1, "Amount:", "3"},
        // This store keeps the value as it is; emptying it under "<Custom>" is
        // the settings handler's rule.
        {"<Custom>", "text", 1, "Custom:", "text"},
        {"<None>", "4", 1, "", ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.item);
        gTestOptions.values[CHILD_ID] = s.stored;
        Choose(token, s.item);
        EXPECT_EQ(gTestOptions.values[TOKEN_ID], s.item);
        MSG msg;
        int queued = 0;
        while (queued < 10 && PeekMessageA(&msg, nullptr, MSG_PANEL_REBUILD, MSG_PANEL_REBUILD, PM_REMOVE)) {
            EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(&gTable[0]));
            DispatchMessageA(&msg);
            ++queued;
        }
        EXPECT_EQ(queued, s.rebuilds);
        token = ControlOf(&gTable[0]);
        EXPECT_EQ(GetComboCount(token), 4);
        char shown[64] = "";
        GetComboItemText(token, GetComboSelection(token), shown, sizeof shown);
        EXPECT_STREQ(shown, s.item);

        const OptionRow* child = s.childLabel[0] == 'C' ? gCustomChild : gAmountChild;
        const std::vector<PanelRowState> panel = ReadPanel();
        const PanelRowState* state = FindRowState(panel, child);
        const bool hasChild = s.childLabel[0] != '\0';
        EXPECT_EQ(state != nullptr, hasChild);
        EXPECT_EQ(UsedPanelEntries(), entriesBefore + (hasChild ? 1 : 0));
        EXPECT_EQ(ChildWindowCount(Window()), childrenBefore + (hasChild ? 2 : 0));
        if (state == nullptr) continue;
        EXPECT_EQ(state->label, s.childLabel);
        EXPECT_EQ(state->text, s.childText);
        // One line below the token, from the token row's left edge; an edit
        // one unit below its line top, scaled by the window's factors.
        float sx, sy;
        GetScaleFactors(context_, &sx, &sy);
        const int top = ORIGIN_Y + LINE_PITCH;
        EXPECT_EQ(state->labelAt.x, static_cast<int>((ORIGIN_X + 4) * sx));
        EXPECT_EQ(state->labelAt.y, static_cast<int>((top + 4) * sy));
        EXPECT_EQ(state->controlAt.left, static_cast<int>((ORIGIN_X + 55) * sx));
        EXPECT_EQ(state->controlAt.top, static_cast<int>((top + 1) * sy));
    }
}

// A request for a row that an earlier rebuild removed is skipped: it must
// not lay the row out again at the panel's origin.
TEST_F(OptionPanelTest, StaleRebuildRequestIsSkipped) {
    Choose(ControlOf(&gTable[0]), "-");
    Pump();
    HWND amount = ControlOf(gAmountChild);
    ASSERT_NE(amount, nullptr);
    const int entries = UsedPanelEntries();
    // The amount edit asks for a rebuild of its own row, queued behind the
    // token's change to "<None>", whose rebuild removes that row.
    Choose(ControlOf(&gTable[0]), "<None>");
    PostMessageA(Window(), MSG_PANEL_REBUILD, reinterpret_cast<WPARAM>(amount),
                 reinterpret_cast<LPARAM>(gAmountChild));
    Pump();
    EXPECT_EQ(ControlOf(gAmountChild), nullptr);
    EXPECT_EQ(FindRowState(ReadPanel(), gAmountChild), nullptr);
    EXPECT_EQ(UsedPanelEntries(), entries - 1);
    EXPECT_FALSE(IsWindow(amount));
}

// With every entry taken, the remaining rows are not laid out; table indexes
// past the registry are refused; combo items are cut at 63 characters.
TEST_F(OptionPanelTest, Limits) {
    std::vector<OptionRow> big(
        300, OptionRow{"", 10, 0, 0, ROW_LABEL_ONLY | ROW_SAME_LINE, CONTROL_NONE, nullptr, nullptr});
    big.push_back({});
    const std::string longItem(70, 'L');
    const std::string items = "short," + longItem;
    OptionRow combo[] = {{"Long", 60, 300, SORT_ID, 0, CONTROL_COMBO_BOX, items.c_str(), nullptr}, {}};
    RegisterOptionTable({8, big.data(), TestOptionHandler});
    RegisterOptionTable({9, combo, TestOptionHandler});

    ShowOptionTable(context_, 0, 0, 8);
    EXPECT_EQ(UsedPanelEntries(), static_cast<int>(PANEL_REGISTRY_SIZE));
    for (uint32_t i = 0; i < PANEL_REGISTRY_SIZE; ++i) {
        ASSERT_EQ(PanelRegistry[i].row, &big[i]) << "entry " << i;
    }
    // A choice row that finds no entry lays out no child rows either.
    EXPECT_EQ(context_->controlCount, 0u);

    const TableRegistration before = TableRegistry[TABLE_REGISTRY_SIZE - 1];
    RegisterOptionTable({static_cast<int32_t>(TABLE_REGISTRY_SIZE), combo, TestOptionHandler});
    RegisterOptionTable({-1, combo, TestOptionHandler});
    EXPECT_EQ(TableRegistry[TABLE_REGISTRY_SIZE - 1].table, before.table);
    EXPECT_EQ(ShowOptionTable(context_, 0, 0, TABLE_REGISTRY_SIZE), -1);
    EXPECT_EQ(UsedPanelEntries(), static_cast<int>(PANEL_REGISTRY_SIZE)) << "a refused index changes nothing";

    gTestOptions.values[SORT_ID] = "LLLL";  // only in the long item
    ShowOptionTable(context_, 0, 0, 9);
    const std::vector<PanelRowState> panel = ReadPanel();
    ASSERT_EQ(panel.size(), 1u);
    EXPECT_EQ(panel[0].items, (std::vector<std::string>{"short", std::string(63, 'L')}));
    EXPECT_EQ(panel[0].selection, 1);
    // Every rebuild handler registration reuses the first.
    int handlers = 0;
    for (uint32_t i = 0; i < context_->handlerCount; ++i)
        handlers += context_->handlers[i].message == MSG_PANEL_REBUILD;
    EXPECT_EQ(handlers, 1);
}

}  // namespace
