// The listing window's option panel on a real window of the main window's
// size, with the real tables and the settings handler: what a fresh panel
// shows, where every line stands before and after a width change, switching
// the listing mode, the child rows of format slots, refusals while busy,
// re-marking after a load, and that long runs of rebuilds leak nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "panel/listing_tables.h"
#include "panel/option_panel_win.h"
#include "settings/busy_flag.h"
#include "settings/format_settings.h"
#include "settings/settings_handler.h"
#include "support/field_compare.h"
#include "tests/panel/listing_lines.h"
#include "tests/panel/panel_fixture_win.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "text/fields.h"

namespace {

const char* const TRACK_ROUNDING = "     Track length rounding:";
const char* const GROUP_ROUNDING = "     Group length rounding:";

// Format rows are the 10th-16th, 20th-26th and 30th-36th rows of a mode.
OptionRow* FormatRow(OptionRow* rows, int slot) { return &rows[9 + slot + 3 * (slot / 7)]; }

class ListingPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        SetFormatDefaults(gFormatSettings);
        SetSettingsRefreshHooks({});
        gBusy = 0;
        RegisterOptionTable({LISTING_TABLE_INDEX, ListTypeTable, SettingsHandler});
    }

    void TearDown() override {
        gBusy = 0;
        PanelTest::TearDown();
        SetFormatDefaults(gFormatSettings);
    }

    // The panel as start-up shows it: panel units are pixels until the
    // window's size changes.
    void ShowAtUnitScale() {
        context_->scaleX = 1.0f;
        context_->scaleY = 1.0f;
        ShowOptionTable(context_, LISTING_PANEL_X, LISTING_PANEL_Y, LISTING_TABLE_INDEX);
    }

    HWND FormatCombo(OptionRow* rows, int slot) { return ControlOf(FormatRow(rows, slot)); }

    // A choice made in a format combo, with the rebuild it asks for.
    void ChooseAndRebuild(HWND combo, const char* item) {
        Choose(combo, item);
        Pump();
    }

    // The label and edit under a format slot, or null.
    const PanelRowState* ChildOf(const std::vector<PanelRowState>& panel, OptionRow* formatRow) {
        const OptionChoice* shown = nullptr;
        for (const PanelEntry& e : PanelRegistry) {
            if (e.row == formatRow) shown = e.shownChoice;
        }
        if (shown == nullptr || shown->child[0].label == nullptr) return nullptr;
        return FindRowState(panel, &shown->child[0]);
    }
};

// The scroll bar of a combo's drop-down list: a refill made while the combo
// does not draw must leave it as a fill while drawing leaves it.
std::string DropDownScroll(HWND combo) {
    COMBOBOXINFO info = {sizeof info};
    SCROLLINFO scroll = {sizeof scroll, SIF_ALL};
    if (!GetComboBoxInfo(combo, &info)) return "no list";
    GetScrollInfo(info.hwndList, SB_VERT, &scroll);
    const bool isShown = (GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL) != 0;
    return std::to_string(scroll.nMin) + "-" + std::to_string(scroll.nMax) + " page " +
           std::to_string(scroll.nPage) + " at " + std::to_string(scroll.nPos) + (isShown ? " shown" : "");
}

// Compares the panel's labels and controls, in entry order, with the lines
// of the listing panel at the window's current scale factors.
void ExpectPanelAt(const std::vector<ListingPlace>& expected, float sx, float sy) {
    std::vector<PanelRowState> shown;
    for (const PanelRowState& s : ReadPanel()) {
        if (!s.label.empty() || !s.kind.empty()) shown.push_back(s);
    }
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const ListingPlace& e = expected[i];
        const PanelRowState& s = shown[i];
        SCOPED_TRACE(testing::Message() << e);
        EXPECT_EQ(s.label, e.label);
        if (e.labelX >= 0) {
            EXPECT_EQ(s.labelAt.x, static_cast<int>(e.labelX * sx));
            EXPECT_EQ(s.labelAt.y, static_cast<int>((ListingLineTop(e.line) + 4) * sy));
        }
        if (e.controlX >= 0) {
            EXPECT_EQ(s.controlAt.left, static_cast<int>(e.controlX * sx));
            EXPECT_EQ(s.controlAt.top, static_cast<int>(e.controlY * sy));
            EXPECT_EQ(s.controlAt.right - s.controlAt.left, static_cast<int>(e.controlWidth * sx));
        } else {
            EXPECT_EQ(s.kind, "");
        }
    }
}

TEST_F(ListingPanelTest, FreshPanel) {
    ShowAtUnitScale();
    const std::vector<PanelRowState> panel = ReadPanel();
    // The List Type row and the 36 rows of the Full Listing; no child rows.
    EXPECT_EQ(panel.size(), 37u);
    const PanelRowState* type = FindRowState(panel, &ListTypeTable[0]);
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->label, "List Type");
    EXPECT_EQ(type->items, (std::vector<std::string>{"Full Listing", "Group Listing"}));
    EXPECT_EQ(type->text, "Full Listing");

    struct Expected {
        int row;  // 0-based in FullListingRows
        const char* label;
        const char* kind;
        const char* text;
        int checked;
        size_t items;
    };
    const Expected rows[] = {
        {0, "First sort by", "ComboBox", "Track Number (Ascending Order)", -1, 16},
        {1, "  Case Sensitive:", "Button", "", 0, 0},
        {2, TRACK_ROUNDING, "Button", "", 1, 0},
        {3, "Then sort by", "ComboBox", "Track Length (Ascending Order)", -1, 16},
        {4, "  Case Sensitive:", "Button", "", 0, 0},
        {5, "Finally sort by", "ComboBox", "Bitrate (Ascending Order)", -1, 16},
        {6, "  Case Sensitive:", "Button", "", 0, 0},
        {8, "Format:", "", "", -1, 0},
        {18, "        ", "", "", -1, 0},
        {28, "        ", "", "", -1, 0},
    };
    for (const Expected& e : rows) {
        SCOPED_TRACE(e.label);
        const PanelRowState* s = FindRowState(panel, &FullListingRows[e.row]);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->label, e.label);
        EXPECT_EQ(s->kind, e.kind);
        EXPECT_EQ(s->text, e.text);
        EXPECT_EQ(s->checked, e.checked);
        EXPECT_EQ(s->items.size(), e.items);
    }
    for (int slot = 0; slot < 21; ++slot) {
        SCOPED_TRACE(testing::Message() << "slot " << slot);
        const PanelRowState* s = FindRowState(panel, FormatRow(FullListingRows, slot));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->label, "");
        EXPECT_EQ(s->kind, "ComboBox");
        EXPECT_EQ(s->text, "<None>");
        EXPECT_EQ(s->items.size(), 26u);
        EXPECT_EQ(ChildOf(panel, FormatRow(FullListingRows, slot)), nullptr);
    }
}

// Lines 0-10 with child rows on lines 6, 8 and 10, at unit scale; then the
// window grows 5 pixels wider: the controls move with it, and a panel built
// after that lands on the same places.
TEST_F(ListingPanelTest, LinesBeforeAndAfterAWidthChange) {
    ShowAtUnitScale();
    ChooseAndRebuild(FormatCombo(FullListingRows, 0), "<CRLF>");
    ChooseAndRebuild(FormatCombo(FullListingRows, 8), "<Custom>");
    ChooseAndRebuild(FormatCombo(FullListingRows, 20), "-");
    // Rebuilt rows took other entries: lay the panel out afresh, in order.
    PostMessageA(Window(), MSG_PANEL_REBUILD, 0, 0);
    Pump();
    const std::vector<ListingPlace> expected =
        ExpectedListingLines(TRACK_ROUNDING, {{0, "Amount:"}, {8, "Custom:"}, {20, "Amount:"}});
    {
        SCOPED_TRACE("unit scale");
        ExpectPanelAt(expected, 1.0f, 1.0f);
    }

    const int width = context_->baseWidth;
    SendMessageA(Window(), WM_SIZE, 0, MAKELPARAM(width + 5, context_->baseHeight));
    float sx, sy;
    GetScaleFactors(context_, &sx, &sy);
    EXPECT_FLOAT_EQ(sx, static_cast<float>((width + 5.0) / width));
    EXPECT_FLOAT_EQ(sy, 1.0f);
    {
        SCOPED_TRACE("moved by the resize");
        ExpectPanelAt(expected, sx, sy);
    }
    PostMessageA(Window(), MSG_PANEL_REBUILD, 0, 0);
    Pump();
    {
        SCOPED_TRACE("built after the resize");
        ExpectPanelAt(expected, sx, sy);
    }
}

// Full -> Group -> Full: the group wordings, the third sort combo on its
// first item while its key stays Bitrate, and the Full Listing's format
// choices as they were left.
TEST_F(ListingPanelTest, ListTypeSwitchKeepsFormatChoices) {
    ShowAtUnitScale();
    ChooseAndRebuild(FormatCombo(FullListingRows, 0), "<CRLF>");
    ChooseAndRebuild(FormatCombo(FullListingRows, 3), "<Custom>");
    Type(ControlOf(&FormatRow(FullListingRows, 3)->choices[24].child[0]), "abc");
    EXPECT_STREQ(gFormatSettings.fullFormat.slots[3].param, "abc");

    Choose(ControlOf(&ListTypeTable[0]), "Group Listing");
    EXPECT_EQ(gFormatSettings.listingMode, GROUP_LISTING);
    EXPECT_EQ(QueuedRebuilds(), 1);
    // The queued request was taken out above: ask again and handle it.
    PostMessageA(Window(), MSG_PANEL_REBUILD, reinterpret_cast<WPARAM>(ControlOf(&ListTypeTable[0])),
                 reinterpret_cast<LPARAM>(&ListTypeTable[0]));
    Pump();
    std::vector<PanelRowState> panel = ReadPanel();
    EXPECT_EQ(panel.size(), 37u);
    EXPECT_EQ(FindRowState(panel, &FullListingRows[0]), nullptr);
    const char* groupSorts[] = {"Group Number (Ascending Order)", "Group Length (Ascending Order)",
                                "Group Name (Ascending Order)"};
    for (int level = 0; level < 3; ++level) {
        const PanelRowState* s = FindRowState(panel, &GroupListingRows[level == 0 ? 0 : level == 1 ? 3 : 5]);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->text, groupSorts[level]) << "level " << level;
        EXPECT_EQ(s->items.size(), 6u);
    }
    EXPECT_EQ(gFormatSettings.sortLevels[2].key, static_cast<uint32_t>(SORT_BITRATE_ASC));
    EXPECT_EQ(FindRowState(panel, &GroupListingRows[2])->label, GROUP_ROUNDING);
    // A sort combo and a format combo refilled from the Full Listing's items.
    for (const OptionRow* row : {&GroupListingRows[3], FormatRow(GroupListingRows, 20)}) {
        HWND fresh = CreateControl(context_, CONTROL_COMBO_BOX, 0, 0, 100, 300, "", 0, nullptr, nullptr);
        SetControlFont(context_, fresh, 15, 8, false, false, "Courier new");
        for (const std::string& item : FindRowState(panel, row)->items) AddItem(context_, fresh, item.c_str(), 0, 1);
        EXPECT_EQ(DropDownScroll(ControlOf(row)), DropDownScroll(fresh)) << row->label;
        DestroyControl(context_, fresh);
    }
    for (int slot = 0; slot < 21; ++slot) {
        const PanelRowState* s = FindRowState(panel, FormatRow(GroupListingRows, slot));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->text, "<None>");
        EXPECT_EQ(s->items.size(), 21u);
    }

    ChooseAndRebuild(ControlOf(&ListTypeTable[0]), "Full Listing");
    EXPECT_EQ(gFormatSettings.listingMode, FULL_LISTING);
    panel = ReadPanel();
    EXPECT_EQ(panel.size(), 39u);
    EXPECT_EQ(FindRowState(panel, FormatRow(FullListingRows, 0))->text, "<CRLF>");
    EXPECT_EQ(FindRowState(panel, FormatRow(FullListingRows, 3))->text, "<Custom>");
    const PanelRowState* amount = ChildOf(panel, FormatRow(FullListingRows, 0));
    const PanelRowState* custom = ChildOf(panel, FormatRow(FullListingRows, 3));
    ASSERT_NE(amount, nullptr);
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(amount->label, "Amount:");
    EXPECT_EQ(amount->text, "1");
    EXPECT_EQ(custom->label, "Custom:");
    EXPECT_EQ(custom->text, "abc");
    EXPECT_EQ(FindRowState(panel, &FullListingRows[0])->text, "Track Number (Ascending Order)");
    EXPECT_EQ(FindRowState(panel, &FullListingRows[5])->text, "Bitrate (Ascending Order)");
}

// The client area as drawn, children included, read back from the window.
std::vector<DWORD> Pixels(HWND window) {
    RECT c = {};
    GetClientRect(window, &c);
    BITMAPINFO bi = {{sizeof bi.bmiHeader, c.right, -c.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE);  // children not clipped out
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, c.right, c.bottom, dc, 0, 0, SRCCOPY);
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + c.right * c.bottom);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return pixels;
}

// A switch of the listing mode leaves the window drawn as a panel laid out
// afresh in the new mode, also where a panel window that keeps its look was
// waiting to be painted when the switch began (as the area a closed
// drop-down list leaves): the redraw spares the windows a rebuild leaves
// unchanged, and must not spare those.
TEST_F(ListingPanelTest, SwitchDrawsAsAFreshPanel) {
    const struct {
        const char* name;
        const OptionRow* row;  // null: nothing waiting
        bool isLabel;
    } rows[] = {
        {"nothing waiting", nullptr, false},
        {"a label waiting", &FullListingRows[0], true},
        {"a combo waiting", FormatRow(FullListingRows, 20), false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ShowAtUnitScale();
        Pump();
        for (const PanelEntry& e : PanelRegistry) {
            HWND w = r.row != nullptr && e.row == r.row ? (r.isLabel ? e.label : e.control) : nullptr;
            if (w == nullptr) continue;
            HDC dc = GetDC(w);
            const RECT all = {0, 0, 400, 100};
            FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            ReleaseDC(w, dc);
            InvalidateRect(w, nullptr, TRUE);
        }
        for (const char* mode : {"Group Listing", "Full Listing"}) {
            ChooseAndRebuild(ControlOf(&ListTypeTable[0]), mode);
            const std::vector<DWORD> switched = Pixels(Window());
            ShowOptionTable(context_, LISTING_PANEL_X, LISTING_PANEL_Y, LISTING_TABLE_INDEX);
            Pump();
            const std::vector<DWORD> fresh = Pixels(Window());
            ASSERT_EQ(switched.size(), fresh.size());
            size_t first = 0;
            while (first < fresh.size() && switched[first] == fresh[first]) ++first;
            EXPECT_EQ(first, fresh.size()) << mode << ": the first pixel that differs";
        }
    }
}

// The child row of slot 0 through a run of choices: whether a rebuild was
// asked for, and what the child row shows (the param is changed behind the
// panel first, so a row laid out again shows the new value).
TEST_F(ListingPanelTest, FormatSlotChildRows) {
    ShowAtUnitScale();
    OptionRow* row = FormatRow(FullListingRows, 0);
    struct Step {
        const char* token;
        const char* param;  // written behind the panel; null: left alone
        int rebuilds;
        const char* label;  // "" for no child row
        const char* text;
    };
    const Step steps[] = {
        {"<CRLF>", nullptr, 1, "Amount:", "1"},
        {"<Custom>", "6", 1, "Custom:", ""},  // the handler empties the param
        {"{", nullptr, 1, "Amount:", "1"},    // and sets it to "1" after "<Custom>"
        // Same amount table under another choice: still laid out again.
        {"-", "7", 1, "Amount:", "7"},
        // The item shown already: no flag changes, nothing is asked for.
        {"-", "8", 0, "Amount:", "7"},
        {"Artist", nullptr, 1, "", ""},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.token);
        if (s.param != nullptr)
            StoreFieldText(gFormatSettings.fullFormat.slots[0].param, FORMAT_FIELD_SIZE, s.param);
        Choose(ControlOf(row), s.token);
        EXPECT_STREQ(gFormatSettings.fullFormat.slots[0].token, s.token);
        const int queued = QueuedRebuilds();
        EXPECT_EQ(queued, s.rebuilds);
        if (queued) {
            RebuildRow(context_, Window(), MSG_PANEL_REBUILD, 0, reinterpret_cast<LPARAM>(row),
                       (LISTING_PANEL_X << 16) | LISTING_PANEL_Y);
        }
        const std::vector<PanelRowState> panel = ReadPanel();
        EXPECT_EQ(FindRowState(panel, row)->text, s.token);
        const PanelRowState* child = ChildOf(panel, row);
        if (s.label[0] == '\0') {
            EXPECT_EQ(child, nullptr);
            continue;
        }
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->label, s.label);
        EXPECT_EQ(child->text, s.text);
        EXPECT_EQ(child->labelAt.x, 64);
        EXPECT_EQ(child->controlAt.left, 115);
        EXPECT_EQ(child->controlAt.top, ListingLineTop(6) + 1);
    }

    // A custom text longer than the param field: the edit keeps what was
    // typed, the field its first 31 characters, the next slot is untouched.
    ChooseAndRebuild(ControlOf(row), "<Custom>");
    const std::string typed(40, 'c');
    Type(ControlOf(&row->choices[24].child[0]), typed.c_str());
    EXPECT_EQ(FindRowState(ReadPanel(), &row->choices[24].child[0])->text, typed);
    EXPECT_EQ(std::string(gFormatSettings.fullFormat.slots[0].param), std::string(31, 'c'));
    EXPECT_STREQ(gFormatSettings.fullFormat.slots[1].token, "<None>");
}

// While a file command runs, the panel still takes input: every control
// goes back to the stored setting, and nothing changes.
TEST_F(ListingPanelTest, BusyFlagPutsControlsBack) {
    ShowAtUnitScale();
    ChooseAndRebuild(FormatCombo(FullListingRows, 0), "-");
    const FormatSettings before = gFormatSettings;
    BusyScope busy;
    window_driver::ClickButton(ControlOf(&FullListingRows[4]));
    window_driver::ClickButton(ControlOf(&FullListingRows[2]));
    HWND amount = ControlOf(&FormatRow(FullListingRows, 0)->choices[10].child[0]);
    Type(amount, "7");
    Choose(FormatCombo(FullListingRows, 1), "Title");
    Choose(ControlOf(&FullListingRows[3]), "Artist (Decending Order)");
    Choose(ControlOf(&ListTypeTable[0]), "Group Listing");
    EXPECT_EQ(QueuedRebuilds(), 0);
    const std::vector<PanelRowState> panel = ReadPanel();
    EXPECT_EQ(FindRowState(panel, &FullListingRows[4])->checked, 0);
    EXPECT_EQ(FindRowState(panel, &FullListingRows[2])->checked, 1);
    EXPECT_EQ(FindRowState(panel, &FullListingRows[3])->text, "Track Length (Ascending Order)");
    EXPECT_EQ(FindRowState(panel, FormatRow(FullListingRows, 1))->text, "<None>");
    EXPECT_EQ(FindRowState(panel, &ListTypeTable[0])->text, "Full Listing");
    EXPECT_EQ(ReadPanel().size(), panel.size());
    char text[16] = "";
    GetControlText(amount, text, sizeof text);
    EXPECT_STREQ(text, "1");
    EXPECT_TRUE(SameFormatSettings(gFormatSettings, before));
}

// Tokens changed behind the panel (a load) re-mark the choices: several
// where the value is part of several choice texts (the first of them is
// shown), the previous choice where it matches none. A token filling its
// whole field without a terminator is read as its 32 characters.
TEST_F(ListingPanelTest, MarkChoicesAfterALoad) {
    ShowAtUnitScale();
    ChooseAndRebuild(FormatCombo(FullListingRows, 1), "-");
    FormatTable& full = gFormatSettings.fullFormat;
    StoreFieldText(full.slots[0].token, FORMAT_FIELD_SIZE, "<C");
    StoreFieldText(full.slots[2].token, FORMAT_FIELD_SIZE, "<CR>");
    StoreFieldText(full.slots[1].token, FORMAT_FIELD_SIZE, "Grp Name");
    std::memset(full.slots[4].token, 'X', FORMAT_FIELD_SIZE);
    StoreFieldText(full.slots[5].token, FORMAT_FIELD_SIZE, "<Custom>");
    StoreFieldText(full.slots[5].param, FORMAT_FIELD_SIZE, "loaded");
    MarkChoices(context_, ListTypeTable, 1);
    EXPECT_EQ(QueuedRebuilds(), 1);
    PostMessageA(Window(), MSG_PANEL_REBUILD, 0, 0);
    Pump();

    auto activeTexts = [](OptionRow* row) {
        std::vector<std::string> out;
        for (OptionChoice* c = row->choices; c->child != nullptr; ++c) {
            if (c->active) out.push_back(c->text);
        }
        return out;
    };
    struct Case {
        int slot;
        std::vector<std::string> active;
        const char* shown;
        const char* child;  // label of the child row; "" for none
    };
    const Case cases[] = {
        {0, {"<CR>", "<CRLF>", "<Comma>", "<Custom>"}, "<CR>", "Amount:"},
        // "<CR>" ends in '>', so "<CRLF>" does not contain it.
        {2, {"<CR>"}, "<CR>", "Amount:"},
        {1, {"-"}, "-", "Amount:"},
        {4, {"<None>"}, "<None>", ""},
        {5, {"<Custom>"}, "<Custom>", "Custom:"},
    };
    const std::vector<PanelRowState> panel = ReadPanel();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot);
        OptionRow* row = FormatRow(FullListingRows, c.slot);
        EXPECT_EQ(activeTexts(row), c.active);
        EXPECT_EQ(FindRowState(panel, row)->text, c.shown);
        const PanelRowState* child = ChildOf(panel, row);
        EXPECT_EQ(child != nullptr ? child->label : "", c.child);
    }
    EXPECT_EQ(ChildOf(panel, FormatRow(FullListingRows, 5))->text, "loaded");
    // The Group Listing's rows are marked by their own call.
    EXPECT_EQ(activeTexts(FormatRow(GroupListingRows, 0)), std::vector<std::string>{"<None>"});
}

// Many mode switches and format rebuilds leave as many windows, entries and
// fonts as they started with, and every font they replaced is deleted.
TEST_F(ListingPanelTest, RebuildsLeakNothing) {
    ShowAtUnitScale();
    const int windows = ChildWindowCount(Window());
    const int entries = UsedPanelEntries();
    const uint32_t controls = context_->controlCount;
    const size_t fonts = LiveFonts(context_).size();
    EXPECT_EQ(fonts, controls);
    int replaced = 0, notDeleted = 0;
    auto checkReplaced = [&](const std::vector<HFONT>& old) {
        const std::vector<HFONT> now = LiveFonts(context_);
        for (HFONT f : old) {
            if (std::find(now.begin(), now.end(), f) != now.end()) continue;
            ++replaced;
            notDeleted += GetObjectType(f) != 0;
        }
    };
    for (int i = 0; i < 200; ++i) {
        std::vector<HFONT> old = LiveFonts(context_);
        ChooseAndRebuild(ControlOf(&ListTypeTable[0]), i % 2 ? "Full Listing" : "Group Listing");
        checkReplaced(old);
    }
    ChooseAndRebuild(ControlOf(&ListTypeTable[0]), "Full Listing");
    const char* tokens[] = {"-", "<Custom>", "Artist", "<TAB>"};
    for (int i = 0; i < 200; ++i) {
        std::vector<HFONT> old = LiveFonts(context_);
        ChooseAndRebuild(FormatCombo(FullListingRows, i % 21), tokens[i % 4]);
        checkReplaced(old);
    }
    for (int slot = 0; slot < 21; ++slot) ChooseAndRebuild(FormatCombo(FullListingRows, slot), "<None>");
    EXPECT_EQ(ChildWindowCount(Window()), windows);
    EXPECT_EQ(UsedPanelEntries(), entries);
    EXPECT_EQ(context_->controlCount, controls);
    EXPECT_EQ(LiveFonts(context_).size(), fonts);
    // Controls of one face and size share a font: rows that come and go
    // leave its count right, and a font no control holds any more is gone.
    EXPECT_EQ(FontTableDifference(context_), "");
    EXPECT_EQ(notDeleted, 0) << "of " << replaced << " replaced fonts";
}

}  // namespace
