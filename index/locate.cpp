#include "index/locate.h"

#include <cstdio>
#include <cstring>

int CompareIndexFileTimes(IndexFileTime a, IndexFileTime b) {
    const int32_t highA = static_cast<int32_t>(a.high);
    const int32_t highB = static_cast<int32_t>(b.high);
    if (highA != highB) return highA < highB ? -1 : 1;
    if (a.low != b.low) return a.low < b.low ? -1 : 1;
    return 0;
}

int FormatIndexPath(char* out, size_t size, const char* directory, uint32_t number) {
    if (size == 0) return 0;
    const int head = snprintf(out, size, "%s", directory);
    const int tail = head < 0 || static_cast<size_t>(head) >= size
                         ? -1
                         : snprintf(out + head, size - head, INDEX_NAME_FORMAT, number);
    if (tail < 0 || static_cast<size_t>(head) + static_cast<size_t>(tail) >= size) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

// Among the index numbers of one directory, the one written last. Missing
// and unopenable numbers are passed over until a first file is chosen; from
// then on the search ends at the first missing number. Equal times keep the
// lower number. Returns 0 when no number below INDEX_NUMBER_LIMIT opens.
static int ChooseNewestIndex(IndexVolumeProbe& probe, const char* directory, uint32_t& number) {
    bool haveBest = false;
    bool present = false;
    uint32_t bestNumber = 0;
    IndexFileTime bestTime = {0, 0};
    char path[INDEX_PATH_SIZE];
    for (uint32_t n = 0; n < INDEX_NUMBER_LIMIT && (!haveBest || present); ++n) {
        if (!FormatIndexPath(path, sizeof path, directory, n)) return 0;
        if (!probe.HasAttributes(path)) {
            present = false;
            continue;
        }
        IndexFileTime time;
        if (!probe.ReadLastWriteTime(path, time))
            continue;  // unopenable: neither chosen nor counted as missing
        // The first file that opens is always taken, whatever its time.
        if (!haveBest || CompareIndexFileTimes(time, bestTime) > 0) {
            haveBest = true;
            bestNumber = n;
            bestTime = time;
            present = true;
        }
    }
    if (!haveBest) return 0;
    number = bestNumber;
    return 1;
}

int FindNewestIndex(IndexVolumeProbe& probe, char* directory, uint32_t& number) {
    for (char letter = FIRST_DRIVE_LETTER; letter <= LAST_DRIVE_LETTER; ++letter) {
        const char root[4] = {letter, ':', '\\', '\0'};
        const uint32_t type = probe.DriveType(root);
        if (type == DRIVE_TYPE_UNKNOWN || type == DRIVE_TYPE_NO_ROOT || type == DRIVE_TYPE_CDROM) continue;
        char marker[INDEX_PATH_SIZE];
        snprintf(marker, sizeof marker, "%s%s", root, RECORDER_MARKER);
        if (!probe.HasAttributes(marker)) continue;

        // The first marked drive is the recorder's, whatever its index holds.
        char found[INDEX_DIRECTORY_SIZE];
        snprintf(found, sizeof found, "%s%s", root, INDEX_DIRECTORY);
        uint32_t best = 0;
        if (!ChooseNewestIndex(probe, found, best)) return 0;
        memcpy(directory, found, sizeof found);
        number = best;
        return 1;
    }
    return 0;
}
