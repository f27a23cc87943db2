#include "tools/lib/listing_reference/listing_reference_win.h"

#include <cstring>

#include "listing/listing_builder.h"
#include "tools/lib/listing_reference/listing_reference.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "ui/controls_win.h"

void ReferenceReorderList(HWND list, CompareCallback compare) {
    const int n = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::vector<RefLine> saved;
    for (int i = 0; i < n; ++i)
        saved.push_back({window_driver::ReadOwnListLine(list, i),
                         intptr_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(i), 0))});
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const RefLine& line : saved) {
        const int m = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
        LRESULT index = -1;
        for (int k = 0; k < m && index < 0; ++k) {
            const std::string text = window_driver::ReadOwnListLine(list, k);
            const intptr_t data = intptr_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(k), 0));
            if (compare(line.text.c_str(), text.c_str(), line.itemData, data) <= 0)
                index = SendMessageA(list, LB_INSERTSTRING, WPARAM(k), LPARAM(line.text.c_str()));
        }
        if (index < 0) index = SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line.text.c_str()));
        SendMessageA(list, LB_SETITEMDATA, WPARAM(index), LPARAM(line.itemData));
    }
}

void ReferenceBuildListing(WindowContext* context, HWND list, HWND status) {
    const ListingMode mode = gFormatSettings.listingMode;
    const std::vector<RefLine> lines =
        mode == GROUP_LISTING ? ReferenceGroupListing(gCatalogue) : FullListingLines(gCatalogue);
    for (const RefLine& line : lines) AddItem(context, list, line.text.c_str(), line.itemData, 1);
    char text[STATUS_TEXT_SIZE];
    FormatStatusText(mode, uint32_t(GetListCount(list)), text, sizeof text);
    SetWindowTextA(status, text);
}
