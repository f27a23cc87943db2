#include "index/locate_copy_win.h"

#include <windows.h>

#include "ui/scoped_win.h"
#include "ui/wide_text_win.h"

namespace {

// Paths are UTF-8 inside and asked about through the W functions. The file
// system folds letter case itself (Windows, and Wine on a Unix file system),
// so an entry is found under the locator's spelling.
class Win32CopyAccess : public CopyFolderAccess {
public:
    CopyEntryKind KindOf(const std::string& path) override {
        const DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return CopyEntryKind::MISSING;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? CopyEntryKind::FOLDER : CopyEntryKind::FILE;
    }

    bool FindEntry(const std::string& folder, const std::string& name, std::string& out) override {
        const bool hasSeparator = !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
        const std::string path = hasSeparator ? folder + name : folder + "\\" + name;
        if (KindOf(path) == CopyEntryKind::MISSING) return false;
        out = path;
        return true;
    }

    bool ReadLastWriteTime(const std::string& path, IndexFileTime& time) override {
        if (KindOf(path) != CopyEntryKind::FILE) return false;
        ScopedHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        FILETIME written;
        if (!file.IsValid() || !GetFileTime(file.Get(), nullptr, nullptr, &written)) return false;
        time = {written.dwHighDateTime, written.dwLowDateTime};
        return true;
    }
};

std::string FullPathOf(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    return Utf8FromWide(full.data(), length);
}

}  // namespace

CopyIndexResult LocateCopyIndex(const std::string& path, std::string& fullPath, std::string& index) {
    fullPath = FullPathOf(path);
    // A card reader without a medium would otherwise raise the system's
    // "no disk" box.
    DWORD oldMode = 0;
    const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    Win32CopyAccess access;
    const CopyIndexResult result = FindCopyIndex(access, fullPath, index);
    if (modeSet) SetThreadErrorMode(oldMode, nullptr);
    return result;
}
