#include "listing/listing_win.h"

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "listing/format_line.h"
#include "listing/listing_builder.h"
#include "listing/presort_win.h"
#include "listing/reorder.h"
#include "ui/controls_win.h"

ListingWindow gListingWindow;

namespace {
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
    NoteListFill(list, false);
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
    SettleListFill(list);
    std::string store;
    std::vector<size_t> starts;
    std::vector<intptr_t> lineItems;
    if (!ReadListLines(list, &store, &starts, &lineItems)) return;
    const size_t n = lineItems.size();
    std::unique_ptr<const char*[]> texts(new (std::nothrow) const char*[n + 1]);
    std::unique_ptr<uint32_t[]> order(new (std::nothrow) uint32_t[n + 1]);
    if (!texts || !order) return;
    for (size_t i = 0; i < n; ++i) texts[i] = store.data() + starts[i];
    const intptr_t* items = lineItems.data();
    const size_t textBytes = store.size();
    ComputeReorder(texts.get(), items, n, compare, order.get());
    if (IsIdentity(order.get(), n) && StandsAsFilled(list)) return;
    RewriteList(list, texts.get(), items, order.get(), n, textBytes);
}

// One batch fill. Into an empty list the lines go presorted (PresortLines),
// which spares the re-order after the build its rewrite.
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
    bool isPresorted = false;
    ComposedListing listing;
    if (ComposeListing(gCatalogue, mode, listing)) {
        if (isEmpty) isPresorted = PresortLines(w.context, w.trackList, listing.lines, listing.count);
        AppendListLines(w.context, w.trackList, listing.lines, listing.count);
        ReleaseListing(listing);
    }
    // The fill has turned redraw back on, unless there was nothing to fill.
    if (isEmpty) {
        SetRedraw(w.trackList, true);
        NoteListFill(w.trackList, isPresorted);
    } else {
        ForgetListFill();
    }
    const int count = GetListCount(w.trackList);
    char status[STATUS_TEXT_SIZE];
    FormatStatusText(mode, count > 0 ? uint32_t(count) : 0, status, sizeof status);
    SetWindowCaption(w.statusLabel, status);
}

void RefreshPreview() {
    const ListingWindow& w = gListingWindow;
    const intptr_t index = GetSelectedItemData(w.context, w.trackList);
    if (index == -1) return;
    char line[FORMAT_LINE_SIZE];
    FormatLine(index, line, sizeof line);
    SetControlText(w.previewText, line);
}
