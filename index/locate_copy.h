#pragma once
#include <cstdint>
#include <string>

#include "index/locate.h"

// Finding the track index to read in a copy of a recorder that the user
// names: the folder that holds HMDHIFI (a drive root too), the HMDHIFI folder
// itself, or a track index file. In a folder the newest index generation is
// chosen as on a recorder (FindNewestIndex), with names found in any letter
// case. The file system calls are a CopyFolderAccess's (std::filesystem for
// tavolin-list, Win32 for the window, a fake in the tests).

enum class CopyEntryKind {
    MISSING,
    FILE,
    FOLDER,
};

class CopyFolderAccess {
public:
    virtual ~CopyFolderAccess() = default;
    // What the path names; MISSING also when it can't be reached.
    virtual CopyEntryKind KindOf(const std::string& path) = 0;
    // The path of the folder's entry called name, letters A-Z folded; false
    // when there is none.
    virtual bool FindEntry(const std::string& folder, const std::string& name, std::string& out) = 0;
    // Opens a regular file for reading, reads its last-write time and closes
    // it; false when it is no such file or does not open.
    virtual bool ReadLastWriteTime(const std::string& path, IndexFileTime& time) = 0;
};

// The locator's questions about drive C: answered on a copy, every other
// letter having no root. The folder stands either as the root C:\ or, for a
// copy of the HMDHIFI folder alone, as C:\HMDHIFI.
class CopyVolumeProbe : public IndexVolumeProbe {
public:
    CopyVolumeProbe(CopyFolderAccess& access, std::string folder, bool isIndexFolder)
        : access_(access), folder_(std::move(folder)), isIndexFolder_(isIndexFolder) {}

    uint32_t DriveType(const char* root) override;
    bool HasAttributes(const char* path) override;
    bool ReadLastWriteTime(const char* path, IndexFileTime& time) override;

    // The copy's path of a drive path such as "C:\HMDHIFI\TRKIDX0a.HMA";
    // false when a part of it is missing.
    bool Resolve(const char* path, std::string& out) const;

private:
    CopyFolderAccess& access_;
    std::string folder_;
    bool isIndexFolder_;
};

enum class CopyIndexResult {
    FOUND,
    NO_SUCH_PATH,     // nothing there
    UNREADABLE_FILE,  // a file that does not open for reading
    NO_INDEX_FOLDER,  // a folder with no HMDHIFI folder that is none itself
    NO_MARKER,        // an HMDHIFI folder without _MDHIFI.HMA: not a recorder's
    NO_INDEX_FILE,    // a recorder's HMDHIFI folder with no index file that opens
};

// The track index file of the copy at path, in index on FOUND. A file is
// taken as the index itself. A folder that holds an HMDHIFI folder is the
// recorder's root; one that does not but is named HMDHIFI or holds the
// marker file _MDHIFI.HMA is the HMDHIFI folder itself.
CopyIndexResult FindCopyIndex(CopyFolderAccess& access, const std::string& path, std::string& index);

// The marker file's name inside the HMDHIFI folder: "_MDHIFI.HMA".
const char* RecorderMarkerName();

// The disc list (MCLISTnn.HMA) beside the track index at indexPath, in the
// same folder and found in any letter case, in out. False when the index's
// name carries no generation or that generation has no list.
bool FindDiscListFile(CopyFolderAccess& access, const std::string& indexPath, std::string& out);
