#include "index/locate_copy.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint32_t DRIVE_TYPE_REMOVABLE = 2;  // how a recorder mounts
constexpr char COPY_DRIVE_LETTER = FIRST_DRIVE_LETTER;

unsigned char Fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool IsSameFolded(const std::string& a, const char* b) {
    if (a.size() != strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

bool IsCopyDrive(const char* path) {
    return Fold(path[0]) == Fold(COPY_DRIVE_LETTER) && path[1] == ':' && path[2] == '\\';
}

// The names of a backslash-separated path, empty ones left out.
std::vector<std::string> SplitNames(const char* path) {
    std::vector<std::string> names;
    std::string name;
    for (const char* c = path;; ++c) {
        if (*c == '\\' || *c == '\0') {
            if (!name.empty()) names.push_back(name);
            name.clear();
            if (*c == '\0') return names;
        } else {
            name += *c;
        }
    }
}

// The last name of a path in either separator, trailing separators left out.
std::string LastName(const std::string& path) {
    size_t end = path.size();
    while (end > 0 && (path[end - 1] == '/' || path[end - 1] == '\\')) --end;
    size_t start = end;
    while (start > 0 && path[start - 1] != '/' && path[start - 1] != '\\') --start;
    return path.substr(start, end - start);
}

}  // namespace

const char* RecorderMarkerName() { return strchr(RECORDER_MARKER, '\\') + 1; }

uint32_t CopyVolumeProbe::DriveType(const char* root) {
    return IsCopyDrive(root) && root[3] == '\0' ? DRIVE_TYPE_REMOVABLE : DRIVE_TYPE_NO_ROOT;
}

bool CopyVolumeProbe::Resolve(const char* path, std::string& out) const {
    if (!IsCopyDrive(path)) return false;
    std::vector<std::string> names = SplitNames(path + 3);
    if (isIndexFolder_) {
        // The folder stands for C:\HMDHIFI whatever its own name.
        if (names.empty() || !IsSameFolded(names[0], INDEX_DIRECTORY)) return false;
        names.erase(names.begin());
    }
    std::string at = folder_;
    for (const std::string& name : names)
        if (!access_.FindEntry(at, name, at)) return false;
    out = at;
    return true;
}

bool CopyVolumeProbe::HasAttributes(const char* path) {
    std::string found;
    return Resolve(path, found);
}

bool CopyVolumeProbe::ReadLastWriteTime(const char* path, IndexFileTime& time) {
    std::string found;
    return Resolve(path, found) && access_.ReadLastWriteTime(found, time);
}

CopyIndexResult FindCopyIndex(CopyFolderAccess& access, const std::string& path, std::string& index) {
    IndexFileTime time;
    switch (access.KindOf(path)) {
    case CopyEntryKind::MISSING: return CopyIndexResult::NO_SUCH_PATH;
    case CopyEntryKind::FILE:
        // Opened once here, so that a file nobody may read is reported
        // rather than listed as an empty disc.
        if (!access.ReadLastWriteTime(path, time)) return CopyIndexResult::UNREADABLE_FILE;
        index = path;
        return CopyIndexResult::FOUND;
    case CopyEntryKind::FOLDER: break;
    }

    std::string inner;
    const bool isRoot =
        access.FindEntry(path, INDEX_DIRECTORY, inner) && access.KindOf(inner) == CopyEntryKind::FOLDER;
    if (!isRoot && !IsSameFolded(LastName(path), INDEX_DIRECTORY) &&
        !access.FindEntry(path, RecorderMarkerName(), inner))
        return CopyIndexResult::NO_INDEX_FOLDER;

    CopyVolumeProbe probe(access, path, !isRoot);
    char directory[INDEX_DIRECTORY_SIZE];
    uint32_t number = 0;
    char drivePath[INDEX_PATH_SIZE];
    if (FindNewestIndex(probe, directory, number) &&
        FormatIndexPath(drivePath, sizeof drivePath, directory, number) && probe.Resolve(drivePath, index))
        return CopyIndexResult::FOUND;

    const std::string marker = std::string(1, COPY_DRIVE_LETTER) + ":\\" + RECORDER_MARKER;
    return probe.HasAttributes(marker.c_str()) ? CopyIndexResult::NO_INDEX_FILE : CopyIndexResult::NO_MARKER;
}

// Only the list of the generation read counts: another generation's list
// may describe the disc as it was before.
bool FindDiscListFile(CopyFolderAccess& access, const std::string& indexPath, std::string& out) {
    const std::string indexName = LastName(indexPath);
    std::string listName;
    if (!DiscListName(indexName, listName)) return false;
    size_t end = indexPath.size();
    while (end > 0 && (indexPath[end - 1] == '/' || indexPath[end - 1] == '\\')) --end;
    const std::string folder = indexPath.substr(0, end - indexName.size());
    std::string found;
    if (!access.FindEntry(folder.empty() ? "." : folder, listName, found) ||
        access.KindOf(found) != CopyEntryKind::FILE)
        return false;
    out = found;
    return true;
}
