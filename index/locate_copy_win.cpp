#include "index/locate_copy_win.h"

#include <windows.h>

#include "base/file_system_win.h"

namespace {

// Paths are UTF-8, asked about through the ui/ file system calls. The file
// system folds letter case itself (Windows, and Wine on a Unix file system),
// so an entry is found under the locator's spelling.
class Win32CopyAccess : public CopyFolderAccess {
public:
    CopyEntryKind KindOf(const std::string& path) override {
        const DWORD attributes = GetPathAttributes(path.c_str());
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
        FILETIME written;
        if (!GetPathWriteTime(path.c_str(), &written)) return false;
        time = {written.dwHighDateTime, written.dwLowDateTime};
        return true;
    }
};

}  // namespace

CopyIndexResult LocateCopyIndex(const std::string& path, std::string& fullPath, std::string& index) {
    fullPath = GetFullPath(path.c_str());
    // A card reader without a medium would otherwise raise the system's
    // "no disk" box.
    DWORD oldMode = 0;
    const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    Win32CopyAccess access;
    const CopyIndexResult result = FindCopyIndex(access, fullPath, index);
    if (modeSet) SetThreadErrorMode(oldMode, nullptr);
    return result;
}

bool FindDiscListPath(const std::string& indexPath, std::string& listPath) {
    DWORD oldMode = 0;
    const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    Win32CopyAccess access;
    const bool found = FindDiscListFile(access, indexPath, listPath);
    if (modeSet) SetThreadErrorMode(oldMode, nullptr);
    return found;
}
