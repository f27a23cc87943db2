#include "listing/listing_win.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "settings/busy_flag.h"
#include "listing/format_line.h"
#include "listing/listing_builder.h"
#include "listing/reorder.h"
#include "ui/controls_win.h"
#include "ui/save_flow_win.h"

ListingWindow gListingWindow;

const char EXPORT_DIALOG_TITLE[] = "Select where to save output listing file.";
const char EXPORT_TYPE_TEXT[] = "Text File";
const char EXPORT_TYPE_TEXT_WITH_BOM[] = "Text File, UTF-8 with BOM (for spreadsheets)";
const char EXPORT_SUCCESS_TEXT[] = "Listing file has been successfully created";
const char EXPORT_CREATE_FAILED_TEXT[] =
    "Failed to create output listing file. Please make sure the path is valid, the media is not "
    "write protected and that you are not trying to overwrite a write protected file ";
const char EXPORT_WRITE_FAILED_TEXT[] =
    "Failed to write output listing file. Please make sure the media is not full or write "
    "protected and that it is still connected; the file may be incomplete.";
const char TITLE_OK[] = "Tavolin OK";
const char TITLE_ERROR[] = "Tavolin Error";

void (*gListingPairingBroken)(const char* what) = nullptr;

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

// The settings a presort ordered the lines by.
struct SortSettings {
    ListingMode mode;
    SortLevel levels[3];

    bool operator==(const SortSettings& o) const {
        if (mode != o.mode) return false;
        for (size_t i = 0; i < 3; ++i)
            if (levels[i].key != o.levels[i].key || levels[i].caseSensitive != o.levels[i].caseSensitive)
                return false;
        return true;
    }
};

SortSettings CurrentSortSettings() {
    SortSettings s{gFormatSettings.listingMode, {}};
    for (size_t i = 0; i < 3; ++i) s.levels[i] = gFormatSettings.sortLevels[i];
    return s;
}

// The list that this code last emptied and filled. position is taken right
// after the fill: a list still in that position, whose lines already stand
// in the order a re-order computes, would come out of the re-order's own
// empty-and-fill exactly as it is, so the rewrite can be left out. A build
// that presorted (isPresorted) is owed its re-order, by CompareTracks under
// the settings it presorted by; the next re-order of the list settles it.
struct LastFill {
    ListPosition position;
    bool isPresorted;
    SortSettings presortedBy;
};
LastFill gLastFill;

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
    gLastFill = {ReadPosition(list), false, {}};
}

bool IsIdentity(const uint32_t* order, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (order[i] != i) return false;
    return true;
}

// A presorted list is owed a re-order by CompareTracks under the settings it
// was presorted by; any other re-order of it is reported, then the debt is
// settled either way.
void SettlePresort(HWND list, CompareCallback compare) {
    if (!gLastFill.isPresorted || gLastFill.position.list != list) return;
    gLastFill.isPresorted = false;
    if (!gListingPairingBroken) return;
    if (compare != CompareTracks)
        gListingPairingBroken("a presorted list was re-ordered by another comparison than CompareTracks");
    else if (!(CurrentSortSettings() == gLastFill.presortedBy))
        gListingPairingBroken("the sort settings changed between BuildListing and its ReorderList");
}
}  // namespace

// Reads every line once, computes the order in O(n log n) and rewrites the
// list in one batch, or not at all when no line moves and the list still
// stands as its last fill left it. When the memory for the copies cannot be
// had the list is left as it is rather than emptied.
void ReorderList(HWND list, WindowContext*, CompareCallback compare) {
    SettlePresort(list, compare);
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
    if (IsIdentity(order.get(), n) && ReadPosition(list) == gLastFill.position) return;
    RewriteList(list, texts.get(), items, order.get(), n, textBytes);
}

namespace {
// A UTF-8 text's length as the list box counts it: UTF-16 units, one per
// character and two for one past U+FFFF (a four-byte sequence).
size_t ListLength(const char* text) {
    size_t units = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if ((*c & 0xC0) != 0x80) units += *c >= 0xF0 ? 2 : 1;
    }
    return units;
}

// The line that the list's scroll upkeep measures for the horizontal extent:
// the first of the longest.
const char* FirstLongest(const ListLine* lines, size_t n) {
    const char* longest = nullptr;
    size_t longestLength = 0;
    for (size_t i = 0; i < n; ++i) {
        const size_t length = ListLength(lines[i].text);
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
    const int wa = MeasureListText(context, list, a);
    if (wa < 0) return true;  // no extent is set at all
    return wa == MeasureListText(context, list, b);
}

// Puts lines into compare order, equal lines kept in listing order, unless
// that would change the horizontal extent that the fill's scroll upkeep sets.
// The re-order that every build is followed by (CompareTracks, the same
// settings) then gives exactly the lines it gives after a fill in listing
// order (only the relative order of equal lines reaches its result, and that
// is kept), and where no two lines are equal it finds nothing left to move.
// Returns whether the lines were presorted.
bool PresortLines(WindowContext* context, HWND list, ListLine* lines, size_t n) {
    std::unique_ptr<ListLine[]> sorted(new (std::nothrow) ListLine[n + 1]);
    if (!sorted || n < 2) return false;
    std::copy(lines, lines + n, sorted.get());
    std::stable_sort(sorted.get(), sorted.get() + n, [](const ListLine& a, const ListLine& b) {
        return CompareTracks(a.text, b.text, a.itemData, b.itemData) < 0;
    });
    if (!IsSameMeasure(context, list, FirstLongest(lines, n), FirstLongest(sorted.get(), n))) return false;
    std::copy(sorted.get(), sorted.get() + n, lines);
    return true;
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
        SetRedraw(w.trackList, false);
        ClearList(w.trackList);
    }
    bool isPresorted = false;
    ComposedListing listing;
    if (ComposeListing(gCatalogue, mode, listing)) {
        if (isEmpty && listing.count > 0 && FirstLongest(listing.lines, listing.count))
            isPresorted = PresortLines(w.context, w.trackList, listing.lines, listing.count);
        AppendListLines(w.context, w.trackList, listing.lines, listing.count);
        ReleaseListing(listing);
    }
    // The fill has turned redraw back on, unless there was nothing to fill.
    if (isEmpty) SetRedraw(w.trackList, true);
    gLastFill = {isEmpty ? ReadPosition(w.trackList) : ListPosition{}, isPresorted, CurrentSortSettings()};
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

namespace {
// The file types of Export List: UTF-8 text, and the same with the byte
// order mark first, which tells a spreadsheet the file's encoding.
constexpr int EXPORT_TYPE_WITH_BOM = 2;
const FileType EXPORT_FILE_TYPES[] = {{EXPORT_TYPE_TEXT, ".txt"}, {EXPORT_TYPE_TEXT_WITH_BOM, ".txt"}};
constexpr char UTF8_BOM[] = "\xEF\xBB\xBF";

bool WriteToFile(void* sink, const char* line, size_t length) {
    return static_cast<FileReplacement*>(sink)->Write(line, DWORD(length));
}

// Stops at the first write that fails.
bool WriteListing(FileReplacement& file, int fileType, void*) {
    if (fileType == EXPORT_TYPE_WITH_BOM && !file.Write(UTF8_BOM, sizeof UTF8_BOM - 1)) return false;
    return RenderListedLines(WriteToFile, &file);
}
}  // namespace

bool RenderListedLines(ListedLineWriter write, void* sink) {
    HWND list = gListingWindow.trackList;
    const int count = GetListCount(list);
    char line[FORMAT_LINE_SIZE];
    for (int i = 0; i < count; ++i) {
        const size_t length = FormatLine(GetListItemData(list, i), line, sizeof line);
        if (!write(sink, line, length)) return false;
    }
    return true;
}

// The lines are written as the list stands when the dialog closes (scan
// messages are handled while it is open).
void ExportListing() {
    if (gBusy) return;
    const BusyScope busy;
    const SaveCommand command = {EXPORT_DIALOG_TITLE,
                                 EXPORT_FILE_TYPES,
                                 sizeof EXPORT_FILE_TYPES / sizeof EXPORT_FILE_TYPES[0],
                                 FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 EXPORT_SUCCESS_TEXT,
                                 TITLE_OK,
                                 EXPORT_CREATE_FAILED_TEXT,
                                 EXPORT_WRITE_FAILED_TEXT,
                                 TITLE_ERROR};
    SaveThroughDialog(command, WriteListing, nullptr);
}
