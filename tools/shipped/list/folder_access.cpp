#include "folder_access.h"

#include <chrono>
#include <fstream>
#include <system_error>

#include "text/fields.h"

namespace fs = std::filesystem;

namespace {

// FILETIME counts 100-nanosecond units from 1601-01-01; Unix time starts
// 11644473600 seconds later.
constexpr int64_t FILETIME_UNITS_PER_SECOND = 10'000'000;
constexpr int64_t FILETIME_UNIX_EPOCH = 11'644'473'600LL * FILETIME_UNITS_PER_SECOND;

bool IsSameFolded(const std::string& a, const std::string& b) {
    return a.size() == b.size() && TextEqualsFolded(a.data(), a.size(), b.c_str());
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

fs::path PathOf(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

std::string TextOf(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool FindEntryAnyCase(const fs::path& folder, const std::string& name, fs::path& out) {
    std::error_code ec;
    if (fs::exists(folder / name, ec)) {
        out = folder / name;
        return true;
    }
    bool isFound = false;
    std::string best;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = TextOf(it->path().filename());
        if (IsSameFolded(entry, name) && (!isFound || entry < best)) {
            best = entry;
            isFound = true;
        }
    }
    if (isFound) out = folder / PathOf(best);
    return isFound;
}

CopyEntryKind NativeFolderAccess::KindOf(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(PathOf(path), ec);
    if (ec || !fs::exists(status)) return CopyEntryKind::MISSING;
    return fs::is_directory(status) ? CopyEntryKind::FOLDER : CopyEntryKind::FILE;
}

bool NativeFolderAccess::FindEntry(const std::string& folder, const std::string& name, std::string& out) {
    fs::path found;
    if (!FindEntryAnyCase(PathOf(folder), name, found)) return false;
    out = TextOf(found);
    return true;
}

bool NativeFolderAccess::ReadLastWriteTime(const std::string& path, IndexFileTime& time) {
    std::error_code ec;
    const fs::path file = PathOf(path);
    if (!fs::is_regular_file(file, ec)) return false;
    if (!std::ifstream(file, std::ios::binary)) return false;
    const fs::file_time_type written = fs::last_write_time(file, ec);
    if (ec) return false;
    time = ToFileTime(written);
    return true;
}
