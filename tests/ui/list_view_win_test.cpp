// The virtual list view made for real, its texts fetched through the owner's
// answers to LVN_GETDISPINFOW as the control asks for them.
#include "ui/list_view_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "ui/controls_win.h"
#include "ui_fixture_win.h"

namespace {

// The owner's answers: "row,column", or a text that must be cut.
const char* gAnswer = nullptr;

void Answer(WindowContext*, HWND, UINT, WPARAM, LPARAM lParam, intptr_t) {
    ListViewTextRequest request = {};
    if (!ReadListViewTextRequest(lParam, &request)) return;
    const std::string text =
        gAnswer != nullptr ? gAnswer : std::to_string(request.row) + "," + std::to_string(request.column);
    AnswerListViewTextRequest(lParam, text.c_str());
}

std::wstring ItemText(HWND view, int row, int column, int room) {
    std::wstring buffer(size_t(room), L'#');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = room;
    const LRESULT n = SendMessageW(view, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
    return buffer.substr(0, size_t(n));
}

TEST_F(WindowTest, VirtualListViewAsksItsOwnerForTexts) {
    Open();
    ASSERT_TRUE(AddMessageHandler(context_, WM_NOTIFY, Answer, 0));
    HWND view = Make(CONTROL_LIST_VIEW, 0, 0, 300, 200);
    ASSERT_NE(view, nullptr);
    for (const char* header : {"Disc", "No.", "Title"}) EXPECT_TRUE(AddListViewColumn(view, header, 80));
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(view)), 3);
    SetListViewRowCount(view, 40000);
    std::string emoji = "\xF0\x9F\x8E\xB5";  // one character, two UTF-16 units
    const struct {
        const char* name;
        const char* answer;  // null: "row,column"
        int row, column, room;
        std::wstring expected;
    } rows[] = {
        {"first row", nullptr, 0, 0, 64, L"0,0"},
        {"a far row's column", nullptr, 39999, 2, 64, L"39999,2"},
        {"text outside ASCII", "\xE6\x9D\xB1\xE4\xBA\xAC", 3, 1, 64, L"\u6771\u4eac"},
        // Room for "a" and one unit: the pair is not split.
        {"cut before a surrogate pair", "a\xF0\x9F\x8E\xB5", 1, 1, 3, L"a"},
        {"cut to the room", "abcdef", 1, 1, 4, L"abc"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        gAnswer = row.answer;
        EXPECT_EQ(ItemText(view, row.row, row.column, row.room), row.expected);
    }
    gAnswer = nullptr;
    EXPECT_EQ(GetListViewRowCount(view), 40000);
    SelectListViewRow(view, 12345);
    EXPECT_EQ(GetListViewSelectedRow(view), 12345);
    EXPECT_LE(GetListViewTopRow(view), 12345);
    SelectListViewRow(view, -1);
    EXPECT_EQ(GetListViewSelectedRow(view), -1);
    SetListViewRowCount(view, 0);
    EXPECT_EQ(GetListViewRowCount(view), 0);
}

TEST(ListViewNotification, ReadsWhatTheOwnerActsOn) {
    NMLISTVIEW column = {};
    column.hdr.code = LVN_COLUMNCLICK;
    column.iSubItem = 4;
    NMITEMACTIVATE activate = {};
    activate.hdr.code = LVN_ITEMACTIVATE;
    activate.iItem = 7;
    NMITEMACTIVATE doubleClick = activate;
    doubleClick.hdr.code = NM_DBLCLK;
    NMLVDISPINFOW request = {};
    request.hdr.code = LVN_GETDISPINFOW;
    request.item.iItem = 9;
    request.item.iSubItem = 2;
    const struct {
        const char* name;
        LPARAM lParam;
        ListViewEvent event;
        int row, column;
    } rows[] = {
        {"a header click", LPARAM(&column), LIST_VIEW_COLUMN_CLICK, -1, 4},
        {"an activation", LPARAM(&activate), LIST_VIEW_DOUBLE_CLICK, 7, -1},
        // A double click sends both; acting on each would show a disc twice.
        {"the double click's own notice", LPARAM(&doubleClick), LIST_VIEW_OTHER, -1, -1},
        {"a text request", LPARAM(&request), LIST_VIEW_TEXT_REQUEST, 9, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ListViewNotification n = ReadListViewNotification(row.lParam);
        EXPECT_EQ(n.event, row.event);
        EXPECT_EQ(n.row, row.row);
        EXPECT_EQ(n.column, row.column);
    }
}

}  // namespace
