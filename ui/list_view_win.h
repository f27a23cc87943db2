// The report-style virtual list view (CONTROL_LIST_VIEW): columns, a row
// count and the owner's answers to its requests for row texts. Texts are
// UTF-8; indexes are rows from 0, -1 for none. GUI thread only.
#pragma once

#include <windows.h>

#include <cstddef>

// Appends a column with its header text and width in pixels; false when the
// control refuses it.
bool AddListViewColumn(HWND view, const char* header, int width);
// The number of rows; the view asks for the texts of those it shows. The
// selection and the scroll place stay where they are when they still exist.
void SetListViewRowCount(HWND view, size_t count);
int GetListViewRowCount(HWND view);
// Repaints the rows: their texts changed though their count did not.
void RedrawListViewRows(HWND view);
// The focused and selected row, scrolled into sight; -1 clears the selection.
void SelectListViewRow(HWND view, int row);
int GetListViewSelectedRow(HWND view);
// The first row in sight and how many rows fit the view.
int GetListViewTopRow(HWND view);
int GetListViewRowsPerPage(HWND view);
// Full-row selection and grid lines, as a table reads best.
void SetListViewTableLook(HWND view);

// One text request of the view (LVN_GETDISPINFOW), as its owner answers it.
struct ListViewTextRequest {
    HWND view;
    int row;
    int column;
};
// Reads the request out of a WM_NOTIFY's lParam; false when the notification
// is not a text request.
bool ReadListViewTextRequest(LPARAM lParam, ListViewTextRequest* request);
// Answers the request in lParam with the UTF-8 text, converted into the
// view's own buffer and cut to it.
void AnswerListViewTextRequest(LPARAM lParam, const char* text);

// What a WM_NOTIFY from a list view says, for the notifications the owner
// acts on.
enum ListViewEvent {
    LIST_VIEW_OTHER,
    LIST_VIEW_TEXT_REQUEST,  // LVN_GETDISPINFOW
    LIST_VIEW_COLUMN_CLICK,  // LVN_COLUMNCLICK: column
    LIST_VIEW_DOUBLE_CLICK,  // a double click or Enter on a row (LVN_ITEMACTIVATE): row
};
struct ListViewNotification {
    ListViewEvent event;
    HWND view;
    int row;
    int column;
};
ListViewNotification ReadListViewNotification(LPARAM lParam);
