#include "e2e_support_win.h"

#include <cstdio>
#include <cstring>

#include "index/track_report.h"
#include "listing/compare_tracks.h"
#include "listing/format_line.h"
#include "listing/listing_builder.h"
#include "listing/track_catalogue.h"
#include "tools/index_image/index_image_builder.h"
#include "tools/window_driver/window_driver_win.h"

namespace e2e {

void FillCatalogue(const app_driver::Listing& listing) {
    ClearCatalogue();
    for (const app_driver::ListedTrack& t : listing.tracks) {
        const float length = t.length;
        const TrackReport report = {
            t.displayLine.c_str(), t.artist.c_str(), t.album.c_str(), t.title.c_str(),
            t.trackNumber,         &length,          t.bitrate,       t.groupName.c_str()};
        AppendTrack(report);
    }
}

std::vector<RefLine> ExpectedListing(const FormatSettings& settings) {
    gFormatSettings = settings;
    return ReferenceReorder(ComposedLines(settings.listingMode), CompareTracks);
}

std::vector<RefLine> ExpectedReorder(const std::vector<RefLine>& current, const FormatSettings& settings) {
    gFormatSettings = settings;
    return ReferenceReorder(current, CompareTracks);
}

std::vector<RefLine> ShownLines(const app_driver::Tavolin& app) {
    const std::vector<std::string> texts = app.Lines();
    const std::vector<intptr_t> items = window_driver::ReadListItemData(app.Controls().trackList);
    std::vector<RefLine> lines;
    for (size_t i = 0; i < texts.size(); ++i) lines.push_back({texts[i], i < items.size() ? items[i] : -1});
    return lines;
}

std::string RenderLine(intptr_t index, const FormatSettings& settings) {
    char out[FORMAT_LINE_SIZE];
    const TrackRecord* record = CatalogueRecord(index);
    if (record == nullptr) return std::string();
    FormatRecordLine(*record, settings, out, sizeof out);
    return out;
}

std::string StatusText(ListingMode mode, uint32_t count) {
    char text[STATUS_TEXT_SIZE];
    FormatStatusText(mode, count, text, sizeof text);
    return text;
}

void SetSlot(FormatTable& table, int slot, const char* token, const char* param) {
    StoreFieldText(table.slots[slot].token, FORMAT_FIELD_SIZE, token);
    StoreFieldText(table.slots[slot].param, FORMAT_FIELD_SIZE, param);
}

std::vector<uint8_t> BigDisc(uint32_t trackCount) {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle("Long Scan");
    for (uint32_t first = 1; first <= trackCount; first += 100) {
        char name[32];
        std::snprintf(name, sizeof name, "Part %u", first / 100 + 1);
        const uint32_t last = first + 99 < trackCount ? first + 99 : trackCount;
        b.AddGroup({uint16_t(first), uint16_t(last), name});
    }
    for (uint32_t slot = 0; slot < trackCount; ++slot) {
        index_image::TrackDescription t;
        t.slot = slot;
        char title[16];
        std::snprintf(title, sizeof title, "Song %04u", slot + 1);
        t.title = title;
        t.timing = {{uint16_t(slot % 50), uint16_t(slot % 50 + 5), 0, 5}};
        b.AddTrack(t);
    }
    return b.Build();
}

uint32_t SortKeyOf(const char* itemText) {
    static const struct {
        const char* text;
        uint32_t key;
    } KEYS[] = {
        {"Artist (Ascending Order)", SORT_ARTIST_ASC},
        {"Album (Ascending Order)", SORT_ALBUM_ASC},
        {"Title (Ascending Order)", SORT_TITLE_ASC},
        {"Artist (Decending Order)", SORT_ARTIST_DESC},
        {"Album (Decending Order)", SORT_ALBUM_DESC},
        {"Title (Decending Order)", SORT_TITLE_DESC},
        {"Track Number (Ascending Order)", SORT_NUMBER_ASC},
        {"Track Number (Decending Order)", SORT_NUMBER_DESC},
        {"Track Length (Ascending Order)", SORT_LENGTH_ASC},
        {"Track Length (Decending Order)", SORT_LENGTH_DESC},
        {"Bitrate (Ascending Order)", SORT_BITRATE_ASC},
        {"Bitrate (Decending Order)", SORT_BITRATE_DESC},
        {"Group Name (Ascending Order)", SORT_GROUP_NAME_ASC},
        {"Group Name (Decending Order)", SORT_GROUP_NAME_DESC},
    };
    for (const auto& k : KEYS)
        if (std::strcmp(k.text, itemText) == 0) return k.key;
    return 0;
}

}  // namespace e2e
