#include "listing/listing_win.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "settings/busy_flag.h"
#include "listing/format_line.h"
#include "listing/listing_builder.h"
#include "listing/reorder.h"
#include "ui/controls_win.h"
#include "ui/file_dialogs_win.h"
#include "ui/replace_file_win.h"

ListingWindow gListingWindow;

const char EXPORT_DIALOG_TITLE[] = "Select where to save output listing file.";
const char EXPORT_SUCCESS_TEXT[] = "Listing file has been successfully created";
const char EXPORT_CREATE_FAILED_TEXT[] =
    "Failed to create output listing file. Please make sure the path is valid, the media is not "
    "write protected and that you are not trying to overwrite a write protected file ";
const char EXPORT_WRITE_FAILED_TEXT[] =
    "Failed to write output listing file. Please make sure the media is not full or write "
    "protected and that it is still connected; the file may be incomplete.";
const char TITLE_OK[] = "Tavolin OK";
const char TITLE_ERROR[] = "Tavolin Error";

namespace {
// What a user could see or a caller read of a list's position and selection.
struct ListPosition {
    HWND list;
    LRESULT count, topIndex, caretIndex, anchorIndex, currentIndex, selectedCount;
    int horizontalPos;
    bool operator==(const ListPosition&) const = default;
};

ListPosition ReadPosition(HWND list) {
    return {list,
            SendMessageA(list, LB_GETCOUNT, 0, 0),
            SendMessageA(list, LB_GETTOPINDEX, 0, 0),
            SendMessageA(list, LB_GETCARETINDEX, 0, 0),
            SendMessageA(list, LB_GETANCHORINDEX, 0, 0),
            SendMessageA(list, LB_GETCURSEL, 0, 0),
            SendMessageA(list, LB_GETSELCOUNT, 0, 0),
            GetScrollPos(list, SB_HORZ)};
}

// The position of the list that this code last emptied and filled, taken
// right after the fill. A list still in that position, whose lines already
// stand in the order a re-order computes, would come out of the re-order's
// own empty-and-fill exactly as it is, so the rewrite can be left out.
ListPosition gFilledPosition;

void ShowMessage(const char* text, const char* title) {
    MessageBoxA(nullptr, text, title, MB_OK | MB_SETFOREGROUND);
}

// Replaces the list's lines with the given ones in a single pass with
// redraw off: the same lines, data and scroll state that inserting them one
// by one leaves, without a repaint per line.
void RewriteList(HWND list, const char* const* texts, const intptr_t* items, const uint32_t* order,
                 size_t count, size_t textBytes) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, LB_INITSTORAGE, WPARAM(count), LPARAM(textBytes));
    for (size_t i = 0; i < count; ++i) {
        const uint32_t from = order[i];
        const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, LPARAM(texts[from]));
        if (index >= 0) SendMessageA(list, LB_SETITEMDATA, WPARAM(index), LPARAM(items[from]));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    gFilledPosition = ReadPosition(list);
}

bool IsIdentity(const uint32_t* order, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (order[i] != i) return false;
    return true;
}
}  // namespace

// Reads every line once, computes the order in O(n log n) and rewrites the
// list in one batch, or not at all when no line moves and the list still
// stands as its last fill left it. When the memory for the copies cannot be
// had the list is left as it is rather than emptied.
void ReorderList(HWND list, WindowContext*, CompareCallback compare) {
    const LRESULT counted = SendMessageA(list, LB_GETCOUNT, 0, 0);
    const size_t n = counted > 0 ? size_t(counted) : 0;

    std::unique_ptr<size_t[]> lengths(new (std::nothrow) size_t[n + 1]);
    if (!lengths) return;
    size_t textBytes = 0;
    for (size_t i = 0; i < n; ++i) {
        const LRESULT len = SendMessageA(list, LB_GETTEXTLEN, WPARAM(i), 0);
        lengths[i] = len > 0 ? size_t(len) : 0;
        textBytes += lengths[i] + 1;
    }
    std::unique_ptr<char[]> store(new (std::nothrow) char[textBytes + 1]);
    std::unique_ptr<const char*[]> texts(new (std::nothrow) const char*[n + 1]);
    std::unique_ptr<intptr_t[]> items(new (std::nothrow) intptr_t[n + 1]);
    std::unique_ptr<uint32_t[]> order(new (std::nothrow) uint32_t[n + 1]);
    if (!store || !texts || !items || !order) return;

    char* next = store.get();
    for (size_t i = 0; i < n; ++i) {
        // LB_GETTEXT writes the text and its terminator: exactly the room reserved.
        next[0] = '\0';
        if (lengths[i] > 0) SendMessageA(list, LB_GETTEXT, WPARAM(i), LPARAM(next));
        next[lengths[i]] = '\0';
        texts[i] = next;
        next += lengths[i] + 1;
        items[i] = intptr_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(i), 0));
    }
    ComputeReorder(texts.get(), items.get(), n, compare, order.get());
    if (IsIdentity(order.get(), n) && ReadPosition(list) == gFilledPosition) return;
    RewriteList(list, texts.get(), items.get(), order.get(), n, textBytes);
}

namespace {
// The line that the list's scroll upkeep measures for the horizontal extent:
// the first of the longest.
const char* FirstLongest(const ListLine* lines, size_t n) {
    const char* longest = nullptr;
    size_t longestLength = 0;
    for (size_t i = 0; i < n; ++i) {
        const size_t length = std::strlen(lines[i].text);
        if (length > longestLength) {
            longestLength = length;
            longest = lines[i].text;
        }
    }
    return longest;
}

// Whether the scroll upkeep would give the same extent for either text: the
// same text, or the same width in the list's own font and measuring context.
bool IsSameMeasure(WindowContext* context, HWND list, const char* a, const char* b) {
    if (a == b || std::strcmp(a, b) == 0) return true;
    ControlRecord* record = FindControl(context, list);
    if (!record || !record->measuringDc) return true;  // no extent is set at all
    HGDIOBJ previous = record->font ? SelectObject(record->measuringDc, record->font) : nullptr;
    SIZE sa = {}, sb = {};
    GetTextExtentPoint32A(record->measuringDc, a, int(std::strlen(a)), &sa);
    GetTextExtentPoint32A(record->measuringDc, b, int(std::strlen(b)), &sb);
    if (previous) SelectObject(record->measuringDc, previous);
    return sa.cx == sb.cx;
}

// Puts lines into compare order, equal lines kept in listing order, unless
// that would change the horizontal extent that the fill's scroll upkeep sets.
// The re-order that every build is followed by (CompareTracks, the same
// settings) then gives exactly the lines it gives after a fill in listing
// order (only the relative order of equal lines reaches its result, and that
// is kept), and where no two lines are equal it finds nothing left to move.
void PresortLines(WindowContext* context, HWND list, ListLine* lines, size_t n) {
    std::unique_ptr<ListLine[]> sorted(new (std::nothrow) ListLine[n + 1]);
    if (!sorted || n < 2) return;
    std::copy(lines, lines + n, sorted.get());
    std::stable_sort(sorted.get(), sorted.get() + n, [](const ListLine& a, const ListLine& b) {
        return CompareTracks(a.text, b.text, a.itemData, b.itemData) < 0;
    });
    if (!IsSameMeasure(context, list, FirstLongest(lines, n), FirstLongest(sorted.get(), n))) return;
    std::copy(sorted.get(), sorted.get() + n, lines);
}
}  // namespace

// One batch fill. Into an empty list the lines go presorted (see
// PresortLines), which spares the re-order after the build its rewrite.
void BuildListing() {
    const ListingWindow& w = gListingWindow;
    const ListingMode mode = gFormatSettings.listingMode;
    const bool isEmpty = GetListCount(w.trackList) == 0;
    // Emptying an empty list changes nothing visible, and makes the fill
    // below an empty-and-fill whose position a re-order may rely on. With
    // redraw off it also costs no scroll bar update of its own.
    if (isEmpty) {
        SendMessageA(w.trackList, WM_SETREDRAW, FALSE, 0);
        SendMessageA(w.trackList, LB_RESETCONTENT, 0, 0);
    }
    ComposedListing listing;
    if (ComposeListing(gCatalogue, mode, listing)) {
        std::unique_ptr<ListLine[]> lines(new (std::nothrow) ListLine[listing.count + 1]);
        if (lines) {
            for (uint32_t i = 0; i < listing.count; ++i)
                lines[i] = {listing.lines[i].text, listing.lines[i].itemData};
            if (isEmpty && listing.count > 0 && FirstLongest(lines.get(), listing.count))
                PresortLines(w.context, w.trackList, lines.get(), listing.count);
            AppendListLines(w.context, w.trackList, lines.get(), listing.count);
        }
        ReleaseListing(listing);
    }
    // The fill has turned redraw back on, unless there was nothing to fill.
    if (isEmpty) SendMessageA(w.trackList, WM_SETREDRAW, TRUE, 0);
    gFilledPosition = isEmpty ? ReadPosition(w.trackList) : ListPosition{};
    const int count = GetListCount(w.trackList);
    char status[STATUS_TEXT_SIZE];
    FormatStatusText(mode, count > 0 ? uint32_t(count) : 0, status, sizeof status);
    SetWindowTextA(w.statusLabel, status);
}

void RefreshPreview() {
    const ListingWindow& w = gListingWindow;
    const intptr_t index = GetSelectedItemData(w.context, w.trackList);
    if (index == -1) return;
    char line[FORMAT_LINE_SIZE];
    FormatLine(index, line, sizeof line);
    SetControlText(w.previewText, line);
}

// Every write and the close are checked: a failure shows the error box
// instead of the success box. The lines go into a new file that replaces the
// chosen one only when all of it was written, so a failure leaves the user's
// old file as it was. The busy flag is cleared on every way out.
void ExportListing() {
    if (gBusy) return;
    gBusy = 1;
    char name[1024] = {};
    if (!ShowSaveDialog(EXPORT_DIALOG_TITLE, ".txt", "Text File", name, sizeof name)) {
        gBusy = 0;
        return;
    }
    FileReplacement file;
    if (!file.Begin(name, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        ShowMessage(EXPORT_CREATE_FAILED_TEXT, TITLE_ERROR);
        gBusy = 0;
        return;
    }
    HWND list = gListingWindow.trackList;
    const int count = GetListCount(list);
    bool isWritten = true;
    char line[FORMAT_LINE_SIZE];
    for (int i = 0; i < count && isWritten; ++i) {
        const DWORD length = DWORD(FormatLine(GetListItemData(list, i), line, sizeof line));
        isWritten = file.Write(line, length);
    }
    if (isWritten && file.Commit())
        ShowMessage(EXPORT_SUCCESS_TEXT, TITLE_OK);
    else {
        file.Abandon();
        ShowMessage(EXPORT_WRITE_FAILED_TEXT, TITLE_ERROR);
    }
    gBusy = 0;
}
