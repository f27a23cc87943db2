#include "tools/lib/listing_reference/listing_reference_win.h"

#include <cstring>

#include "base/wide_text_win.h"
#include "listing/listing_builder.h"
#include "tools/lib/listing_reference/listing_reference.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "ui/controls_win.h"

namespace {
// The window layer has no insertion, the program never inserts; the line
// goes in as the program's own lines do, UTF-16 converted from UTF-8.
int InsertListString(HWND list, int index, const std::string& text) {
    const std::wstring wide = ToWide(text.c_str());
    const LRESULT at = SendMessageW(list, LB_INSERTSTRING, WPARAM(index), LPARAM(wide.c_str()));
    return at == LB_ERR || at == LB_ERRSPACE ? -1 : int(at);
}
}  // namespace

void ReferenceReorderList(HWND list, CompareCallback compare) {
    const int n = GetListCount(list);
    std::vector<RefLine> saved;
    for (int i = 0; i < n; ++i)
        saved.push_back({window_driver::ReadOwnListLine(list, i), GetListItemData(list, i)});
    ClearList(list);
    for (const RefLine& line : saved) {
        const int m = GetListCount(list);
        int index = -1;
        for (int k = 0; k < m && index < 0; ++k) {
            const std::string text = window_driver::ReadOwnListLine(list, k);
            if (compare(line.text.c_str(), text.c_str(), line.itemData, GetListItemData(list, k)) <= 0)
                index = InsertListString(list, k, line.text);
        }
        if (index < 0) index = AddListString(list, line.text.c_str());
        SetListItemData(list, index, line.itemData);
    }
}

void ReferenceBuildListing(WindowContext* context, HWND list, HWND status) {
    const ListingMode mode = gFormatSettings.listingMode;
    const std::vector<RefLine> lines =
        mode == GROUP_LISTING ? ReferenceGroupListing(gCatalogue) : FullListingLines(gCatalogue);
    for (const RefLine& line : lines) AddItem(context, list, line.text.c_str(), line.itemData, 1);
    char text[STATUS_TEXT_SIZE];
    FormatStatusText(mode, uint32_t(GetListCount(list)), text, sizeof text);
    SetWindowCaption(status, text);
}
