#include "ui/list_view_win.h"

#include <commctrl.h>

#include <string>

#include "base/wide_text_win.h"

namespace {
LRESULT Send(HWND view, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(view, message, wParam, lParam);
}
}  // namespace

bool AddListViewColumn(HWND view, const char* header, int width) {
    std::wstring text = ToWide(header);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = text.data();
    const int at = Header_GetItemCount(ListView_GetHeader(view));
    return Send(view, LVM_INSERTCOLUMNW, static_cast<WPARAM>(at < 0 ? 0 : at), reinterpret_cast<LPARAM>(&column)) >= 0;
}

// LVSICF_NOINVALIDATEALL would keep rows whose texts changed painted as
// they were; every count change comes with new rows.
void SetListViewRowCount(HWND view, size_t count) {
    const size_t most = 0x7FFFFFFF;
    Send(view, LVM_SETITEMCOUNT, static_cast<WPARAM>(count < most ? count : most), LVSICF_NOSCROLL);
    RedrawListViewRows(view);
}

int GetListViewRowCount(HWND view) { return static_cast<int>(Send(view, LVM_GETITEMCOUNT)); }

void RedrawListViewRows(HWND view) { InvalidateRect(view, nullptr, FALSE); }

void SelectListViewRow(HWND view, int row) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = 0;
    Send(view, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    if (row < 0) return;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    Send(view, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    Send(view, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int GetListViewSelectedRow(HWND view) {
    return static_cast<int>(Send(view, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int GetListViewTopRow(HWND view) { return static_cast<int>(Send(view, LVM_GETTOPINDEX)); }

int GetListViewRowsPerPage(HWND view) { return static_cast<int>(Send(view, LVM_GETCOUNTPERPAGE)); }

void SetListViewTableLook(HWND view) {
    const DWORD look = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    Send(view, LVM_SETEXTENDEDLISTVIEWSTYLE, look, look);
}

bool ReadListViewTextRequest(LPARAM lParam, ListViewTextRequest* request) {
    const NMLVDISPINFOW* info = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
    if (info == nullptr || info->hdr.code != LVN_GETDISPINFOW || !(info->item.mask & LVIF_TEXT)) return false;
    request->view = info->hdr.hwndFrom;
    request->row = info->item.iItem;
    request->column = info->item.iSubItem;
    return true;
}

// The view's buffer holds cchTextMax units with the terminator; a text cut
// there must not end in half a surrogate pair.
void AnswerListViewTextRequest(LPARAM lParam, const char* text) {
    NMLVDISPINFOW* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
    if (info->item.pszText == nullptr || info->item.cchTextMax <= 0) return;
    const std::wstring wide = ToWide(text);
    size_t n = wide.size();
    const size_t room = static_cast<size_t>(info->item.cchTextMax) - 1;
    if (n > room) {
        n = room;
        if (n > 0 && wide[n - 1] >= 0xD800 && wide[n - 1] <= 0xDBFF) n--;
    }
    wide.copy(info->item.pszText, n);
    info->item.pszText[n] = L'\0';
}

ListViewNotification ReadListViewNotification(LPARAM lParam) {
    ListViewNotification out = {LIST_VIEW_OTHER, nullptr, -1, -1};
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr) return out;
    out.view = header->hwndFrom;
    switch (header->code) {
    case LVN_GETDISPINFOW: {
        const NMLVDISPINFOW* info = reinterpret_cast<const NMLVDISPINFOW*>(lParam);
        out.event = LIST_VIEW_TEXT_REQUEST;
        out.row = info->item.iItem;
        out.column = info->item.iSubItem;
        break;
    }
    case LVN_COLUMNCLICK:
        out.event = LIST_VIEW_COLUMN_CLICK;
        out.column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
        break;
    // A double click also sends NM_DBLCLK; the activation alone counts, once.
    case LVN_ITEMACTIVATE:
        out.event = LIST_VIEW_DOUBLE_CLICK;
        out.row = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
        break;
    default: break;
    }
    return out;
}
