#include "ui/controls_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/ui/ui_fixture_win.h"
#include "base/wide_text_win.h"

namespace {

// A line record of the shape the batch fill takes.
struct ListLine {
    const char* text;
    intptr_t itemData;
};

std::string StoredName(HWND window) {
    wchar_t name[128] = L"";
    InternalGetWindowText(window, name, 128);
    char narrow[128] = "";
    WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

bool VerticalBarShown(HWND list) { return (GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL) != 0; }

LRESULT HorizontalExtent(HWND list) { return SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0); }

LRESULT SendText(HWND control, UINT message, const char* text) {
    return SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(text));
}

// ---- Creation ----

TEST_F(WindowTest, CreateControlMakesEachKind) {
    Open();
    struct Row {
        ControlKind kind;
        const char* platformClass;
        const char* storedName;  // window text after creation (captions replace the name);
                                 // null: the platform keeps none to compare
        // What the program relies on the control to do, asked of the control.
        bool (*behaves)(HWND control);
    };
    const Row rows[] = {
        // Lines stay in insertion order (the re-order relies on it) and
        // several can be selected.
        {CONTROL_LIST_BOX, "ListBox", "CONTROL01234",
         [](HWND c) {
             SendText(c, LB_ADDSTRING, "b");
             return SendText(c, LB_ADDSTRING, "a") == 1 && SendMessageA(c, LB_SETSEL, TRUE, 0) != LB_ERR &&
                    SendMessageA(c, LB_SETSEL, TRUE, 1) != LB_ERR && SendMessageA(c, LB_GETSELCOUNT, 0, 0) == 2;
         }},
        {CONTROL_PUSH_BUTTON, "Button", "caption",
         [](HWND c) { return (SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON) != 0; }},
        // One line, which scrolls past the control's width as the user types.
        {CONTROL_EDIT, "Edit", "",
         [](HWND c) {
             SendMessageA(c, WM_CHAR, 'x', 0);
             SendMessageA(c, WM_CHAR, 'y', 0);
             return GetWindowTextLengthA(c) == 2 && SendMessageA(c, EM_GETLINECOUNT, 0, 0) == 1;
         }},
        {CONTROL_MULTILINE_EDIT, "Edit", "",
         [](HWND c) {
             SetWindowTextA(c, "a\r\nb");
             return SendMessageA(c, EM_GETLINECOUNT, 0, 0) == 2;
         }},
        {CONTROL_STATIC_TEXT, "Static", "caption",
         [](HWND c) { return (SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) != 0; }},
        // A check box that takes a check, but only from the program.
        {CONTROL_CHECK_BOX, "Button", "caption",
         [](HWND c) {
             SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
             return (GetWindowLongA(c, GWL_STYLE) & BS_TYPEMASK) == BS_CHECKBOX &&
                    SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
         }},
        // A drop-down list of items kept in insertion order: no edit field.
        {CONTROL_COMBO_BOX, "ComboBox", nullptr,
         [](HWND c) {
             SendText(c, CB_ADDSTRING, "b");
             COMBOBOXINFO info = {};
             info.cbSize = sizeof info;
             return SendText(c, CB_ADDSTRING, "a") == 1 && GetComboBoxInfo(c, &info) &&
                    (info.hwndItem == nullptr || info.hwndItem == c);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.platformClass);
        const uint32_t countBefore = context_->controlCount;
        HWND control = CreateControl(context_, row.kind, 1, 2, 3, 4, "caption", 9, RecordControlCall, &gCallbackTag);
        ASSERT_NE(control, nullptr);
        char cls[64] = "";
        GetClassNameA(control, cls, sizeof cls);
        EXPECT_EQ(lstrcmpiA(cls, row.platformClass), 0) << cls;
        EXPECT_TRUE(IsWindowVisible(control));
        EXPECT_TRUE(row.behaves(control));
        if (row.storedName != nullptr) {
            EXPECT_EQ(StoredName(control), row.storedName);
        }
        EXPECT_EQ(GetParent(control), MainWindowOf(context_));
        EXPECT_EQ(GetDlgCtrlID(control), 0);

        ASSERT_EQ(context_->controlCount, countBefore + 1);
        const ControlEntry& entry = context_->controls[countBefore];
        EXPECT_EQ(entry.window, control);
        const ControlRecord& r = entry.record;
        EXPECT_EQ(r.window, control);
        EXPECT_EQ(r.kind, row.kind);
        EXPECT_EQ(r.callback, &RecordControlCall);
        EXPECT_EQ(r.callbackData, &gCallbackTag);
        EXPECT_EQ(r.font, nullptr);
        EXPECT_EQ(GetObjectType(context_->measuringDc), static_cast<DWORD>(OBJ_MEMDC));
        EXPECT_FLOAT_EQ(r.x, 1.0f);
        EXPECT_FLOAT_EQ(r.createY, 2.0f);
        EXPECT_FLOAT_EQ(r.width, 3.0f);
        EXPECT_FLOAT_EQ(r.createHeight, 4.0f);
        EXPECT_EQ(r.resizeFlags, 9u);
        EXPECT_EQ(r.listFlags, 0u);
        EXPECT_EQ(FindControl(context_, control), &r);
    }
}

TEST_F(WindowTest, GeneratedNameJoinsKindAndPlaceWithoutSeparators) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 550, 325, 100, 30);
    EXPECT_EQ(StoredName(list), "CONTROL055032510030");
    HWND button = Make(CONTROL_PUSH_BUTTON, 550, 325, 100, 30, "Get Tracks...");
    EXPECT_EQ(window_driver::ReadWindowText(button), "Get Tracks...");
}

TEST_F(WindowTest, CreateControlRefusesUnknownKindsAndFailedWindows) {
    Open();
    for (int kind : {int(CONTROL_NONE), -2, 8, 100}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(Make(ControlKind(kind)), nullptr);
        EXPECT_EQ(context_->controlCount, 0u);
    }
    // A parent that no longer exists: the platform refuses the child.
    HWND realWindow = context_->window;
    HWND gone = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    context_->window = gone;
    EXPECT_EQ(Make(CONTROL_PUSH_BUTTON, 0, 0, 10, 10, "x"), nullptr);
    context_->window = realWindow;
    EXPECT_EQ(context_->controlCount, 0u);
}

TEST_F(WindowTest, DestroyControlMovesLastEntryIntoFreedSlot) {
    Open();
    HWND made[5];
    for (int i = 0; i < 5; i++) made[i] = Make(CONTROL_STATIC_TEXT, i, 0, 10, 10, "");
    SetControlFont(context_, made[1], 14, 5, 0, 0, "Arial");
    const HGDIOBJ font = FindControl(context_, made[1])->font;
    DestroyControl(context_, made[1]);
    EXPECT_FALSE(IsWindow(made[1]));
    EXPECT_EQ(GetObjectType(font), 0u);  // its last user went; the context's DC stays
    EXPECT_EQ(GetObjectType(context_->measuringDc), static_cast<DWORD>(OBJ_MEMDC));
    const HWND expected[] = {made[0], made[4], made[2], made[3]};
    ASSERT_EQ(context_->controlCount, 4u);
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(context_->controls[i].window, expected[i]);
        EXPECT_EQ(context_->controls[i].record.window, expected[i]);
    }
    // Unknown windows are ignored; the last entry goes without a move.
    DestroyControl(context_, made[1]);
    EXPECT_EQ(context_->controlCount, 4u);
    DestroyControl(context_, made[3]);
    ASSERT_EQ(context_->controlCount, 3u);
    EXPECT_EQ(context_->controls[2].window, made[2]);
}

// ---- Text ----

TEST_F(WindowTest, SetControlTextPutsCaretBeforeLastCharacter) {
    Open();
    HWND edit = Make(CONTROL_EDIT);
    struct Row {
        const char* text;
        DWORD start, end;
    };
    // The edit counts UTF-16 units: one per character, two for one past U+FFFF.
    const Row rows[] = {{"abc", 2, 2},
                        {"x", 0, 0},
                        {"hello world", 10, 10},
                        {"Caf\xC3\xA9 \xE9\x9F\xB3\xE6\xA5\xBD", 6, 6},
                        {"\xF0\x9F\x8E\xB5!", 2, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        SendMessageA(edit, EM_SETSEL, 0, -1);  // everything selected beforehand
        SetControlText(edit, row.text);
        char buffer[64] = "";
        EXPECT_EQ(GetControlText(edit, buffer, sizeof buffer), static_cast<int>(strlen(row.text)));
        EXPECT_STREQ(buffer, row.text);
        DWORD start = 99, end = 99;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, row.start);
        EXPECT_EQ(end, row.end);
    }
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SetControlText(edit, "");
    DWORD start = 99, end = 98;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end);  // no selection left
}

TEST_F(WindowTest, ControlTextRoundTripsAndIsCutToBuffer) {
    Open();
    HWND label = Make(CONTROL_STATIC_TEXT, 0, 0, 100, 20, "start");
    HWND button = Make(CONTROL_PUSH_BUTTON, 0, 0, 100, 20, "Get Tracks...");
    char buffer[64];
    EXPECT_EQ(GetControlText(label, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "start");
    SetControlText(button, "Scanning...");
    EXPECT_EQ(GetControlText(button, buffer, sizeof buffer), 11);
    EXPECT_STREQ(buffer, "Scanning...");
    // A text longer than the buffer is cut on a character boundary.
    struct Row {
        const char* text;
        size_t bufferSize;
        const char* kept;
    } rows[] = {
        {"Scanning...", 5, "Scan"},
        {"\xE9\x9F\xB3\xE6\xA5\xBD", 5, "\xE9\x9F\xB3"},
        {"Zo\xC3\xAB", 4, "Zo"},
        {"\xF0\x9F\x8E\xB5x", 4, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        SetControlText(button, row.text);
        char small[8];
        memset(small, 'Z', sizeof small);
        EXPECT_EQ(GetControlText(button, small, row.bufferSize), static_cast<int>(strlen(row.kept)));
        EXPECT_STREQ(small, row.kept);
    }
}

// ---- Items ----

TEST_F(WindowTest, AddItemSkipsDuplicatesIgnoringCaseUnlessAllowed) {
    Open();
    for (ControlKind kind : {CONTROL_LIST_BOX, CONTROL_COMBO_BOX}) {
        SCOPED_TRACE(kind);
        HWND control = Make(kind, 0, 0, 200, 200);
        const UINT getCount = kind == CONTROL_LIST_BOX ? LB_GETCOUNT : CB_GETCOUNT;
        const UINT getData = kind == CONTROL_LIST_BOX ? LB_GETITEMDATA : CB_GETITEMDATA;
        struct Row {
            const char* text;
            intptr_t data;
            int allowDuplicate;
            int countAfter;
        };
        const Row rows[] = {
            {"Full Listing", 10, 0, 1},  {"FULL LISTING", 11, 0, 1}, {"full listing", 12, 0, 1},
            {"Full Listin", 13, 0, 2},   {"Full Listing", 14, 1, 3}, {"Full Listing", 15, 1, 4},
            {"Group Listing", 16, 0, 5},
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.text);
            AddItem(context_, control, row.text, row.data, row.allowDuplicate);
            const int count = static_cast<int>(SendMessageA(control, getCount, 0, 0));
            ASSERT_EQ(count, row.countAfter);
        }
        // Order of addition, with each line's own item data.
        const intptr_t expectedData[] = {10, 13, 14, 15, 16};
        for (int i = 0; i < 5; i++) {
            EXPECT_EQ(SendMessageA(control, getData, i, 0), expectedData[i]) << i;
        }
    }
}

TEST_F(WindowTest, FirstComboItemBecomesSelection) {
    Open();
    HWND combo = Make(CONTROL_COMBO_BOX, 0, 0, 200, 200);
    EXPECT_EQ(GetSelectedItemData(context_, combo), -1);
    AddItem(context_, combo, "<None>", 100, 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    AddItem(context_, combo, "Artist", 101, 0);
    AddItem(context_, combo, "Title", 102, 0);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(GetSelectedItemData(context_, combo), 100);
    char text[32] = "";
    EXPECT_EQ(GetSelectedText(context_, combo, text, sizeof text), 1);
    EXPECT_STREQ(text, "<None>");
}

TEST_F(WindowTest, AddItemIgnoresOtherKindsAndUnknownWindows) {
    Open();
    HWND edit = Make(CONTROL_EDIT);
    AddItem(context_, edit, "text", 1, 1);
    char buffer[16] = "";
    GetControlText(edit, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "");
    HWND stranger = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 10, 10, MainWindowOf(context_), nullptr,
                                    nullptr, nullptr);
    AddItem(context_, stranger, "text", 1, 1);
    EXPECT_EQ(GetListCount(stranger), 0);
    DestroyWindow(stranger);
}

TEST_F(WindowTest, SelectItemMinusOneSelectsLastAndNotifiesOnRequest) {
    Open();
    for (ControlKind kind : {CONTROL_LIST_BOX, CONTROL_COMBO_BOX}) {
        SCOPED_TRACE(kind);
        HWND control = Make(kind, 0, 0, 200, 200, "", 0, RecordControlCall);
        for (int i = 0; i < 4; i++)
            AddItem(context_, control, ("item " + std::to_string(i)).c_str(), 40 + i, 1);
        struct Row {
            int index;
            int notify;
            intptr_t selectedData;
            size_t calls;
        };
        const Row rows[] = {{-1, 0, 43, 0}, {1, 0, 41, 0}, {2, 1, 42, 1}, {-1, 1, 43, 1}};
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << "index " << row.index << " notify " << row.notify);
            RecordedCalls().clear();
            SelectItem(context_, control, row.index, row.notify);
            EXPECT_EQ(GetSelectedItemData(context_, control), row.selectedData);
            EXPECT_EQ(RecordedCalls().size(), row.calls);
        }
        char text[32] = "";
        EXPECT_EQ(GetSelectedText(context_, control, text, sizeof text), 1);
        EXPECT_STREQ(text, "item 3");
    }
    // A list box keeps exactly one selected line after SelectItem.
    HWND list = context_->controls[0].window;
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 1);
    // Windows outside the table are left alone, notify or not.
    HWND stranger = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 10,
                                    100, MainWindowOf(context_), nullptr, nullptr, nullptr);
    SendMessageA(stranger, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
    RecordedCalls().clear();
    SelectItem(context_, stranger, 0, 1);
    EXPECT_EQ(SendMessageA(stranger, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(RecordedCalls().empty());
    DestroyWindow(stranger);
}

TEST_F(WindowTest, ItemDataReadsGiveSentinelsOutsideLines) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 200, 200);
    HWND label = Make(CONTROL_STATIC_TEXT);
    EXPECT_EQ(GetSelectedItemData(context_, list), -1);  // empty list: no current line
    for (int i = 0; i < 3; i++) AddItem(context_, list, "line", 500 + i, 1);
    struct Row {
        int index;
        intptr_t data;
    };
    const Row rows[] = {{-1, -1}, {-2, -1}, {0, 500}, {2, 502}, {3, -1}, {1000, -1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.index);
        EXPECT_EQ(GetListItemData(list, row.index), row.data);
    }
    EXPECT_EQ(GetSelectedItemData(context_, label), -1);
    EXPECT_EQ(GetListCount(list), 3);
    ClearList(list);
    EXPECT_EQ(GetListCount(list), 0);
    EXPECT_EQ(GetListItemData(list, 0), -1);
    EXPECT_EQ(GetSelectedItemData(context_, list), -1);
}

TEST_F(WindowTest, SelectedTextIsCutToBufferAndLeftAloneWithoutSelection) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 200, 200);
    AddItem(context_, list, "a rather long line of text", 1, 1);
    char buffer[8];
    memset(buffer, 'Q', sizeof buffer);
    EXPECT_EQ(GetSelectedText(context_, list, buffer, sizeof buffer), 0);
    for (char c : buffer) EXPECT_EQ(c, 'Q');
    SelectItem(context_, list, 0, 0);
    EXPECT_EQ(GetSelectedText(context_, list, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "a rathe");
}

TEST_F(WindowTest, CheckBoxStateFollowsSetCheckOnly) {
    Open();
    HWND box = Make(CONTROL_CHECK_BOX, 0, 0, 100, 20, "Round", 0, RecordControlCall);
    EXPECT_EQ(IsChecked(box), 0);
    SetCheck(box, 5);
    EXPECT_EQ(IsChecked(box), 1);
    SetCheck(box, 0);
    EXPECT_EQ(IsChecked(box), 0);
    // A plain check box only notifies; its owner sets the state.
    RecordedCalls().clear();
    window_driver::ClickButton(box);
    EXPECT_EQ(RecordedCalls().size(), 1u);
    EXPECT_EQ(IsChecked(box), 0);
}

// ---- Fonts ----

TEST_F(WindowTest, SecondFontReplacesAndDeletesTheFirst) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 200, 200);
    AddItem(context_, list, "measured with the record's font", 1, 1);
    SetControlFont(context_, list, 14, 5, 0, 0, "Arial");
    const HFONT first = FindControl(context_, list)->font;
    ASSERT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), first);
    // The upkeep selects the font into the measuring DC; it must not stay there.
    AddItem(context_, list, "another line", 2, 1);

    SetControlFont(context_, list, 16, 8, 1, 1, "Courier new");
    const HFONT second = FindControl(context_, list)->font;
    EXPECT_NE(second, first);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), second);
    LOGFONTA lf = {};
    ASSERT_NE(GetObjectA(second, sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfHeight, 16);
    EXPECT_EQ(lf.lfWidth, 8);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_EQ(lf.lfPitchAndFamily, FIXED_PITCH);
    EXPECT_STREQ(lf.lfFaceName, "Courier new");
    // Wine's GetGuiResources reports 0 GDI objects whatever exists, so the
    // fonts are checked one by one instead: the replaced one is gone, and
    // asking again for the font the control has keeps that one font.
    std::vector<HFONT> fonts{second};
    for (int i = 0; i < 20; i++) {
        AddItem(context_, list, "measured again", i, 1);
        SetControlFont(context_, list, 14, 5, 0, 0, "Arial");
        fonts.push_back(FindControl(context_, list)->font);
    }
    EXPECT_EQ(GetObjectType(second), 0u);
    for (size_t i = 1; i < fonts.size(); i++) EXPECT_EQ(fonts[i], fonts.back()) << i;
    EXPECT_EQ(GetObjectType(fonts.back()), static_cast<DWORD>(OBJ_FONT));

    // A font the platform refuses (its GDI handle table full, about 65,000
    // objects under Wine) leaves the control on the system font and the
    // record without one; the font it had is deleted, not kept in either.
    constexpr size_t FILLER_LIMIT = 200000;
    std::vector<HFONT> filler;
    while (filler.size() < FILLER_LIMIT) {
        const HFONT f = CreateFontA(14, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
        if (f == nullptr) break;
        filler.push_back(f);
    }
    SetControlFont(context_, list, 16, 8, 0, 0, "Arial");
    for (HFONT f : filler) DeleteObject(f);
    ASSERT_LT(filler.size(), FILLER_LIMIT) << "the platform never refused a font";
    EXPECT_EQ(FindControl(context_, list)->font, nullptr);
    EXPECT_EQ(SendMessageA(list, WM_GETFONT, 0, 0), 0);
    EXPECT_EQ(GetObjectType(fonts.back()), 0u);
    AddItem(context_, list, "measured in the system font", 99, 1);
}

TEST_F(WindowTest, FontOfUnknownWindowIsIgnored) {
    Open();
    HWND stranger = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, MainWindowOf(context_), nullptr,
                                    nullptr, nullptr);
    SetControlFont(context_, stranger, 14, 5, 0, 0, "Arial");
    EXPECT_EQ(SendMessageA(stranger, WM_GETFONT, 0, 0), 0);
    DestroyWindow(stranger);
}

TEST_F(WindowTest, ControlsAskingForOneFontShareItUntilTheLastGoes) {
    Open();
    struct Row {
        const char* name;
        int height, width;
        bool isItalic;
        const char* face;
        bool isShared;  // the first control's font
    };
    const Row rows[] = {
        {"the same face and size", 15, 8, false, "Courier new", true},
        {"one pixel narrower", 15, 7, false, "Courier new", false},
        {"another height", 16, 8, false, "Courier new", false},
        {"italic", 15, 8, true, "Courier new", false},
        {"another face", 15, 8, false, "Arial", false},
        {"the same again", 15, 8, false, "Courier new", true},
    };
    HWND first = Make(CONTROL_STATIC_TEXT);
    SetControlFont(context_, first, 15, 8, 0, 0, "Courier new");
    const HFONT shared = FindControl(context_, first)->font;
    std::vector<HWND> made;
    std::vector<HFONT> others;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND control = Make(CONTROL_STATIC_TEXT);
        SetControlFont(context_, control, row.height, row.width, row.isItalic, 0, row.face);
        const HFONT font = FindControl(context_, control)->font;
        ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
        EXPECT_EQ(font == shared, row.isShared);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), font);
        if (!row.isShared) others.push_back(font);
        made.push_back(control);
    }
    // The font outlives the control that made it while others use it.
    DestroyControl(context_, first);
    EXPECT_EQ(GetObjectType(shared), static_cast<DWORD>(OBJ_FONT));
    for (HWND control : made) DestroyControl(context_, control);
    EXPECT_EQ(GetObjectType(shared), 0u);
    for (HFONT font : others) EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(WindowTest, FontToFitNarrowsOnlyTextsWiderThanTheirControl) {
    Open();
    struct Row {
        const char* text;
        int width;
        bool isNarrowed;
    };
    // The panel's labels of 8-pixel Courier that wrapped into a cut-off
    // second line, and ones that fit.
    const Row rows[] = {
        {"  Case Sensitive:", 120, true},
        {"Finally sort by", 110, true},
        {"     Track length rounding:", 200, true},
        {"Amount:", 60, false},
        {"", 60, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        HWND label = Make(CONTROL_STATIC_TEXT, 0, 0, row.width, 20, row.text);
        SetControlFontToFit(context_, label, 15, 8, 0, 0, "Courier new", row.text);
        LOGFONTA lf = {};
        ASSERT_NE(GetObjectA(FindControl(context_, label)->font, sizeof lf, &lf), 0);
        EXPECT_EQ(lf.lfHeight, 15);
        EXPECT_EQ(lf.lfWidth < 8, row.isNarrowed) << "width " << lf.lfWidth;
        EXPECT_LE(MeasureControlText(context_, label, row.text), row.width);
        if (row.isNarrowed) {
            // No wider width would have done.
            SetControlFont(context_, label, 15, lf.lfWidth + 1, 0, 0, "Courier new");
            EXPECT_GT(MeasureControlText(context_, label, row.text), row.width);
        }
        DestroyControl(context_, label);
    }
}

// ---- Scroll upkeep ----

// What the upkeep promises: the extent is the width of the first line with
// the most characters, measured in the list's font, plus 10 pixels.
LONG ExpectedExtent(HFONT font, const char* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    SIZE size = {};
    const std::wstring wide = ToWide(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    if (old != nullptr) SelectObject(dc, old);
    DeleteDC(dc);
    return size.cx + 10;
}

TEST_F(WindowTest, HorizontalExtentFollowsFirstLongestLine) {
    Open();
    struct Row {
        const char* name;
        std::vector<const char*> lines;
        size_t widest;  // index of the line that sets the extent
    };
    const Row rows[] = {
        {"wide first among equals", {"abc", "WWWWWWWW", "iiiiiiii", "mm"}, 1},
        {"narrow first among equals", {"abc", "iiiiiiii", "WWWWWWWW", "mm"}, 1},
        {"longest by characters, not by width", {"WWWWW", "iiiiiiiiiiii"}, 1},
        {"fifty characters", {"short", "01234567890123456789012345678901234567890123456789"}, 1},
        // Three characters in nine bytes: the list counts characters, and
        // measures them as characters.
        {"longest by characters, not by bytes", {"abcd", "\xE9\x9F\xB3\xE6\xA5\xBD\xE9\x9F\xB3"}, 0},
        {"wide characters measured whole", {"ab", "\xE9\x9F\xB3\xE6\xA5\xBD\xE9\x9F\xB3"}, 1},
    };
    for (bool withFont : {false, true}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(testing::Message() << row.name << (withFont ? " (Arial)" : " (default font)"));
            HWND list = Make(CONTROL_LIST_BOX, 0, 0, 100, 200);
            if (withFont) SetControlFont(context_, list, 14, 5, 0, 0, "Arial");
            for (size_t i = 0; i < row.lines.size(); i++) AddItem(context_, list, row.lines[i], 0, 1);
            const LONG expected = ExpectedExtent(FindControl(context_, list)->font, row.lines[row.widest]);
            EXPECT_EQ(HorizontalExtent(list), expected);
            DestroyControl(context_, list);
        }
    }
}

TEST_F(WindowTest, VerticalBarOnlyWhenLinesDoNotFit) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 200, 100);
    EXPECT_FALSE(VerticalBarShown(list));
    const LRESULT itemHeight = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    // The list trims its own height to whole lines, so the client height is
    // read as it stands after each line.
    bool sawHidden = false, sawShown = false;
    for (int count = 1; count <= 12; count++) {
        SCOPED_TRACE(count);
        AddItem(context_, list, "line", count, 1);
        RECT client;
        GetClientRect(list, &client);
        const bool overflows = count * itemHeight > client.bottom;
        EXPECT_EQ(VerticalBarShown(list), overflows);
        (overflows ? sawShown : sawHidden) = true;
    }
    EXPECT_TRUE(sawHidden);
    EXPECT_TRUE(sawShown);
}

TEST_F(WindowTest, EmptyListKeepsItsExtent) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 200, 100);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, 123, 0);
    RefreshListScroll(context_, FindControl(context_, list));
    EXPECT_EQ(HorizontalExtent(list), 123);
    AddItem(context_, list, "", 0, 1);  // only empty lines: no extent either
    EXPECT_EQ(HorizontalExtent(list), 123);
    EXPECT_EQ(GetListCount(list), 1);
}

// ---- Batch fill ----

// Lines of varied length with many ties: several lines share the greatest
// length, with different widths, so the first of them must set the extent.
std::vector<std::string> MakeLines(int n, int seed) {
    static const char* const words[] = {"Wave", "iii", "Mmm", "la", "Track", "WWW", "x"};
    std::vector<std::string> out;
    for (int i = 0; i < n; i++) {
        std::string line = std::to_string((i * 7 + seed) % 13) + " ";
        const int parts = 1 + (i * 5 + seed) % 4;
        for (int p = 0; p < parts; p++) line += words[(i + p * 3 + seed) % 7];
        out.push_back(line);
    }
    return out;
}

TEST_F(WindowTest, BatchFillLeavesSameStateAsOneByOne) {
    Open();
    struct Row {
        const char* name;
        int existing;  // lines added one by one before the batch
        int batch;
        bool withFont;
        bool verticalBar;
    };
    const Row rows[] = {
        {"few hundred lines, list font", 0, 300, true, true},
        {"few hundred lines, default font", 0, 300, false, true},
        {"lines that all fit", 0, 3, true, false},
        {"batch after existing lines", 40, 120, true, true},
        {"single line", 0, 1, true, false},
        {"empty batch after existing lines", 12, 0, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND oneByOne = Make(CONTROL_LIST_BOX, 0, 0, 300, 150);
        HWND batched = Make(CONTROL_LIST_BOX, 0, 0, 300, 150);
        for (HWND list : {oneByOne, batched}) {
            if (row.withFont) SetControlFont(context_, list, 14, 5, 0, 0, "Arial");
            for (const std::string& line : MakeLines(row.existing, 3))
                AddItem(context_, list, line.c_str(), -7, 1);
        }
        const std::vector<std::string> texts = MakeLines(row.batch, 1);
        std::vector<ListLine> lines;
        for (size_t i = 0; i < texts.size(); i++) {
            const intptr_t data = static_cast<intptr_t>(i * 3 + 1);
            AddItem(context_, oneByOne, texts[i].c_str(), data, 1);
            lines.push_back({texts[i].c_str(), data});
        }
        AppendListLines(context_, batched, lines.data(), lines.size());
        const window_driver::ListState a = window_driver::ReadListState(oneByOne);
        const window_driver::ListState b = window_driver::ReadListState(batched);
        EXPECT_EQ(b.texts.size(), static_cast<size_t>(row.existing + row.batch));
        EXPECT_EQ(a.texts, b.texts);
        EXPECT_EQ(a.items, b.items);
        EXPECT_EQ(VerticalBarShown(oneByOne), VerticalBarShown(batched));
        EXPECT_EQ(a.hasVerticalBar, b.hasVerticalBar);
        EXPECT_EQ(a.horizontalExtent, b.horizontalExtent);
        EXPECT_EQ(VerticalBarShown(batched), row.verticalBar);
        // Both lists draw again after the batch.
        EXPECT_TRUE(IsWindowVisible(batched));
        DestroyControl(context_, oneByOne);
        DestroyControl(context_, batched);
    }
}

TEST_F(WindowTest, EmptyBatchLeavesClearedListUntouched) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 300, 50);
    for (int i = 0; i < 20; i++) AddItem(context_, list, "line", i, 1);
    ASSERT_TRUE(VerticalBarShown(list));
    ClearList(list);  // clearing alone does not run the upkeep
    const LRESULT extent = HorizontalExtent(list);
    AppendListLines(context_, list, static_cast<const ListLine*>(nullptr), 0);
    EXPECT_EQ(HorizontalExtent(list), extent);
    EXPECT_EQ(GetListCount(list), 0);
}

TEST_F(WindowTest, BatchFillIgnoresWindowsOutsideTheTableAndOtherKinds) {
    Open();
    HWND combo = Make(CONTROL_COMBO_BOX, 0, 0, 100, 100);
    HWND stranger = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 10, 10, MainWindowOf(context_), nullptr,
                                    nullptr, nullptr);
    const ListLine lines[] = {{"a", 1}, {"b", 2}};
    AppendListLines(context_, combo, lines, 2);
    AppendListLines(context_, stranger, lines, 2);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(GetListCount(stranger), 0);
    DestroyWindow(stranger);
}

// ---- Single selection ----

TEST_F(WindowTest, SetMultiSelectReducesSelectionAtOnce) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 200, 200);
    for (int i = 0; i < 6; i++) AddItem(context_, list, "line", i, 1);
    for (int i : {0, 3, 4}) SendMessageA(list, LB_SETSEL, TRUE, i);
    SendMessageA(list, LB_SETCARETINDEX, 3, FALSE);
    SetMultiSelect(context_, list, 1);
    PumpMessages();
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 3);
    EXPECT_EQ(FindControl(context_, list)->listFlags & LIST_SINGLE_SELECTION, 0u);
    SetMultiSelect(context_, list, 0);
    EXPECT_EQ(FindControl(context_, list)->listFlags & LIST_SINGLE_SELECTION, LIST_SINGLE_SELECTION);
    PumpMessages();
    EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), 1);
    EXPECT_GT(SendMessageA(list, LB_GETSEL, 3, 0), 0);
}

// ---- Combo box items and selection ----

// The batch fill against AddItem with duplicates allowed, on an empty combo
// and on one that already has a selection; then the reads, the cleared
// selection and the emptied combo.
TEST_F(WindowTest, ComboBatchFillAndReads) {
    Open();
    const char* items[] = {"<None>", "Artist", "artist", "<CRLF>"};
    for (int preselected = 0; preselected < 2; preselected++) {
        SCOPED_TRACE(preselected ? "with a selection" : "empty");
        HWND batch = Make(CONTROL_COMBO_BOX, 0, 0, 200, 300);
        HWND single = Make(CONTROL_COMBO_BOX, 0, 40, 200, 300);
        for (HWND combo : {batch, single}) {
            if (!preselected) continue;
            AddItem(context_, combo, "first", 0, 1);
            AddItem(context_, combo, "second", 0, 1);
            SetComboSelection(combo, 1);
        }
        AppendComboItems(batch, items, 4);
        for (const char* item : items) AddItem(context_, single, item, 0, 1);
        ASSERT_EQ(GetComboCount(batch), GetComboCount(single));
        EXPECT_EQ(GetComboCount(batch), preselected ? 6 : 4);
        EXPECT_EQ(GetComboSelection(batch), GetComboSelection(single));
        EXPECT_EQ(GetComboSelection(batch), preselected ? 1 : 0);
        for (int i = 0; i < GetComboCount(batch); i++) {
            char a[64] = "", b[64] = "";
            EXPECT_EQ(GetComboItemText(batch, i, a, sizeof a), GetComboItemText(single, i, b, sizeof b));
            EXPECT_STREQ(a, b) << "item " << i;
            EXPECT_EQ(SendMessageA(batch, CB_GETITEMDATA, i, 0), SendMessageA(single, CB_GETITEMDATA, i, 0));
        }
    }
    HWND combo = Make(CONTROL_COMBO_BOX, 0, 80, 200, 300);
    AppendComboItems(combo, items, 4);
    char cut[4] = "xyz";
    EXPECT_EQ(GetComboItemText(combo, 1, cut, sizeof cut), 3);
    EXPECT_STREQ(cut, "Art");
    AddItem(context_, combo, "\xC3\x9C\xC3\x9C", 0, true);  // two characters of two bytes
    EXPECT_EQ(GetComboItemText(combo, 4, cut, sizeof cut), 2);
    EXPECT_STREQ(cut, "\xC3\x9C");
    EXPECT_EQ(GetComboItemText(combo, 5, cut, sizeof cut), -1);
    EXPECT_EQ(GetComboItemText(combo, -1, cut, sizeof cut), -1);
    SetComboSelection(combo, -1);
    EXPECT_EQ(GetComboSelection(combo), -1);
    ClearComboItems(combo);
    EXPECT_EQ(GetComboCount(combo), 0);
    EXPECT_EQ(GetComboSelection(combo), -1);
}

}  // namespace
