#include "folder_probe.h"

#include <chrono>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t DRIVE_TYPE_REMOVABLE = 2;  // how a recorder mounts
constexpr char FOLDER_DRIVE_LETTER = FIRST_DRIVE_LETTER;

// FILETIME counts 100-nanosecond units from 1601-01-01; Unix time starts
// 11644473600 seconds later.
constexpr int64_t FILETIME_UNITS_PER_SECOND = 10'000'000;
constexpr int64_t FILETIME_UNIX_EPOCH = 11'644'473'600LL * FILETIME_UNITS_PER_SECOND;

unsigned char Fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

bool IsSameFolded(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

IndexFileTime ToFileTime(fs::file_time_type time) {
    const auto since = std::chrono::file_clock::to_sys(time).time_since_epoch();
    const int64_t units =
        std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, FILETIME_UNITS_PER_SECOND>>>(
            since)
            .count() +
        FILETIME_UNIX_EPOCH;
    const uint64_t bits = uint64_t(units);
    return {uint32_t(bits >> 32), uint32_t(bits)};
}

}  // namespace

bool FindEntryAnyCase(const fs::path& folder, const std::string& name, fs::path& out) {
    std::error_code ec;
    if (fs::exists(folder / name, ec)) {
        out = folder / name;
        return true;
    }
    bool isFound = false;
    std::string best;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (IsSameFolded(entry, name) && (!isFound || entry < best)) {
            best = entry;
            isFound = true;
        }
    }
    if (isFound) out = folder / best;
    return isFound;
}

uint32_t FolderProbe::DriveType(const char* root) {
    const bool isFolder =
        Fold(root[0]) == Fold(FOLDER_DRIVE_LETTER) && root[1] == ':' && root[2] == '\\' && root[3] == '\0';
    return isFolder ? DRIVE_TYPE_REMOVABLE : DRIVE_TYPE_NO_ROOT;
}

// Paths come from the locator as drive paths: "C:\" and names separated by
// backslashes. Each name is looked up in the folder reached so far.
bool FolderProbe::Resolve(const char* path, fs::path& out) const {
    if (Fold(path[0]) != Fold(FOLDER_DRIVE_LETTER) || path[1] != ':' || path[2] != '\\') return false;
    fs::path at = root_;
    const std::string rest = path + 3;
    size_t start = 0;
    while (start < rest.size()) {
        size_t end = rest.find('\\', start);
        if (end == std::string::npos) end = rest.size();
        if (end > start && !FindEntryAnyCase(at, rest.substr(start, end - start), at)) return false;
        start = end + 1;
    }
    out = at;
    return true;
}

bool FolderProbe::HasAttributes(const char* path) {
    fs::path file;
    return Resolve(path, file);
}

// Only a regular file that opens for reading counts, as CreateFileA opens
// no folder and no file it may not read.
bool FolderProbe::ReadLastWriteTime(const char* path, IndexFileTime& time) {
    fs::path file;
    std::error_code ec;
    if (!Resolve(path, file) || !fs::is_regular_file(file, ec)) return false;
    if (!std::ifstream(file, std::ios::binary)) return false;
    const fs::file_time_type written = fs::last_write_time(file, ec);
    if (ec) return false;
    time = ToFileTime(written);
    return true;
}
