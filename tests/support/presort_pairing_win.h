// The pairing that BuildListing's presort relies on, checked from the tests:
// a build that presorted the track list must be followed by
// ReorderList(list, context, CompareTracks) under the sort settings of the
// build. The program keeps only whether a re-order is owed
// (IsOwedReorder); what the build was presorted by is noted here.
#pragma once

#include "listing/listing_win.h"
#include "listing/presort_win.h"
#include "settings/format_settings.h"

class PresortPairing {
public:
    // BuildListing, noting the settings a presort followed.
    void Build() {
        BuildListing();
        builtWith_ = Current();
    }

    // What the re-order of list by compare would break of the pairing (null:
    // nothing), then the re-order itself.
    const char* Reorder(HWND list, WindowContext* context, CompareCallback compare) {
        const char* broken = nullptr;
        if (IsOwedReorder(list)) {
            if (compare != CompareTracks)
                broken = "a presorted list was re-ordered by another comparison than CompareTracks";
            else if (!(Current() == builtWith_))
                broken = "the sort settings changed between BuildListing and its ReorderList";
        }
        ReorderList(list, context, compare);
        return broken;
    }

private:
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

    static SortSettings Current() {
        SortSettings s{gFormatSettings.listingMode, {}};
        for (size_t i = 0; i < 3; ++i) s.levels[i] = gFormatSettings.sortLevels[i];
        return s;
    }

    SortSettings builtWith_{};
};
