#include "listing/listing_win.h"

#include <memory>
#include <new>

#include "settings/busy_flag.h"
#include "listing/format_line.h"
#include "listing/listing_builder.h"
#include "listing/reorder.h"
#include "ui/controls_win.h"
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
    int count, topIndex, caretIndex, anchorIndex, currentIndex, selectedCount;
    int horizontalPos;
    bool operator==(const ListPosition&) const = default;
};

ListPosition ReadPosition(HWND list) {
    return {list,
            GetListCount(list),
            GetListTopIndex(list),
            GetListCaretIndex(list),
            GetListAnchorIndex(list),
            GetListCurrentIndex(list),
            GetListSelectedCount(list),
            GetHorizontalScrollPos(list)};
}

// The list that this code last emptied and filled, in the position it had
// right after the fill: a list still in that position, whose lines already
// stand in the order a re-order computes, would come out of the re-order's
// own empty-and-fill exactly as it is, so the rewrite can be left out.
ListPosition gLastFill;

// Replaces the list's lines with the given ones in a single pass with
// redraw off: the same lines, data and scroll state that inserting them one
// by one leaves, without a repaint per line.
void RewriteList(HWND list, const char* const* texts, const intptr_t* items, const uint32_t* order,
                 size_t count, size_t textBytes) {
    SetRedraw(list, false);
    ClearList(list);
    ReserveListStorage(list, count, textBytes);
    for (size_t i = 0; i < count; ++i) {
        const uint32_t from = order[i];
        const int index = AddListString(list, texts[from]);
        if (index >= 0) SetListItemData(list, index, items[from]);
    }
    SetRedraw(list, true);
    RepaintControl(list);
    gLastFill = ReadPosition(list);
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
    const int counted = GetListCount(list);
    const size_t n = counted > 0 ? size_t(counted) : 0;

    std::unique_ptr<size_t[]> lengths(new (std::nothrow) size_t[n + 1]);
    if (!lengths) return;
    size_t textBytes = 0;
    for (size_t i = 0; i < n; ++i) {
        const int len = GetListTextLength(list, int(i));
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
        // The list writes the text and its terminator: exactly the room reserved.
        next[0] = '\0';
        if (lengths[i] > 0) GetListText(list, int(i), next);
        next[lengths[i]] = '\0';
        texts[i] = next;
        next += lengths[i] + 1;
        items[i] = GetListItemDataAt(list, int(i));
    }
    ComputeReorder(texts.get(), items.get(), n, compare, order.get());
    if (IsIdentity(order.get(), n) && ReadPosition(list) == gLastFill) return;
    RewriteList(list, texts.get(), items.get(), order.get(), n, textBytes);
}

// One batch fill, in listing order; the re-order that follows every build
// puts the lines in sort order.
void BuildListing() {
    const ListingWindow& w = gListingWindow;
    const ListingMode mode = gFormatSettings.listingMode;
    const bool isEmpty = GetListCount(w.trackList) == 0;
    // Emptying an empty list changes nothing visible, and makes the fill
    // below an empty-and-fill whose position a re-order may rely on. With
    // redraw off it also costs no scroll bar update of its own.
    if (isEmpty) {
        SetRedraw(w.trackList, false);
        ClearList(w.trackList);
    }
    ComposedListing listing;
    if (ComposeListing(gCatalogue, mode, listing)) {
        AppendListLines(w.context, w.trackList, listing.lines, listing.count);
        ReleaseListing(listing);
    }
    // The fill has turned redraw back on, unless there was nothing to fill.
    if (isEmpty) SetRedraw(w.trackList, true);
    gLastFill = isEmpty ? ReadPosition(w.trackList) : ListPosition{};
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

namespace {
// Every line of the track list, top to bottom, rendered through the layout;
// stops at the first write that fails.
bool WriteListing(FileReplacement& file, void*) {
    HWND list = gListingWindow.trackList;
    const int count = GetListCount(list);
    char line[FORMAT_LINE_SIZE];
    for (int i = 0; i < count; ++i) {
        const DWORD length = DWORD(FormatLine(GetListItemData(list, i), line, sizeof line));
        if (!file.Write(line, length)) return false;
    }
    return true;
}
}  // namespace

// The lines are written as the list stands when the dialog closes (scan
// messages are handled while it is open).
void ExportListing() {
    if (gBusy) return;
    const BusyScope busy;
    const SaveCommand command = {EXPORT_DIALOG_TITLE,
                                 ".txt",
                                 "Text File",
                                 FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 EXPORT_SUCCESS_TEXT,
                                 TITLE_OK,
                                 EXPORT_CREATE_FAILED_TEXT,
                                 EXPORT_WRITE_FAILED_TEXT,
                                 TITLE_ERROR};
    SaveThroughDialog(command, WriteListing, nullptr);
}
