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

namespace {
bool StartsFolded(const std::string& text, size_t at, const char* word) {
    for (size_t i = 0; word[i] != '\0'; ++i) {
        if (at + i >= text.size()) return false;
        const unsigned char c = text[at + i];
        if ((c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c) != static_cast<unsigned char>(word[i])) return false;
    }
    return true;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
}  // namespace

// The generation number is kept as the name spells it, so the list is
// looked for under the index's own digits ("0a" beside TRKIDX0a.HMA).
bool DiscListName(const std::string& indexName, std::string& out) {
    const size_t stem = strlen(INDEX_NAME_STEM), extension = strlen(INDEX_NAME_EXTENSION);
    if (!StartsFolded(indexName, 0, INDEX_NAME_STEM) || indexName.size() < stem + extension + 1) return false;
    const size_t digits = indexName.size() - stem - extension;
    if (digits > INDEX_NUMBER_DIGITS_MAX || !StartsFolded(indexName, stem + digits, INDEX_NAME_EXTENSION))
        return false;
    for (size_t i = stem; i < stem + digits; ++i)
        if (!IsHexDigit(indexName[i])) return false;
    out = std::string(DISC_LIST_NAME_STEM) + indexName.substr(stem, digits) + INDEX_NAME_EXTENSION;
    return true;
}
