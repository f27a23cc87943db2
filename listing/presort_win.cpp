#include "listing/presort_win.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "listing/compare_tracks.h"
#include "ui/controls_win.h"

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

// The list that was last emptied and filled. position is taken right after
// the fill: a list still in that position, whose lines already stand in the
// order a re-order computes, would come out of the re-order's own
// empty-and-fill exactly as it is, so the rewrite can be left out. A fill
// that was presorted is owed its re-order; the next re-order settles it.
struct LastFill {
    ListPosition position;
    bool isPresorted;
};
LastFill gLastFill;

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

}  // namespace

// The re-order that every build is followed by (CompareTracks, the same
// settings) then gives exactly the lines it gives after a fill in listing
// order (only the relative order of equal lines reaches its result, and that
// is kept), and where no two lines are equal it finds nothing left to move.
bool PresortLines(WindowContext* context, HWND list, ListLine* lines, size_t n) {
    if (n < 2 || !FirstLongest(lines, n)) return false;
    std::unique_ptr<ListLine[]> sorted(new (std::nothrow) ListLine[n]);
    if (!sorted) return false;
    std::copy(lines, lines + n, sorted.get());
    std::stable_sort(sorted.get(), sorted.get() + n, [](const ListLine& a, const ListLine& b) {
        return CompareTracks(a.text, b.text, a.itemData, b.itemData) < 0;
    });
    if (!IsSameMeasure(context, list, FirstLongest(lines, n), FirstLongest(sorted.get(), n))) return false;
    std::copy(sorted.get(), sorted.get() + n, lines);
    return true;
}

void NoteListFill(HWND list, bool isPresorted) { gLastFill = {ReadPosition(list), isPresorted}; }

void ForgetListFill() { gLastFill = {}; }

bool StandsAsFilled(HWND list) { return ReadPosition(list) == gLastFill.position; }

bool IsOwedReorder(HWND list) { return gLastFill.isPresorted && gLastFill.position.list == list; }

void SettleListFill(HWND list) {
    if (gLastFill.position.list == list) gLastFill.isPresorted = false;
}
