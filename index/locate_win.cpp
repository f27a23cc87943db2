#include "index/locate_win.h"

#include <cstring>

#include "base/file_system_win.h"
#include "base/scoped_win.h"

namespace {

class Win32VolumeProbe : public IndexVolumeProbe {
public:
    uint32_t DriveType(const char* root) override { return GetPathDriveType(root); }

    bool HasAttributes(const char* path) override {
        return GetPathAttributes(path) != INVALID_FILE_ATTRIBUTES;
    }

    bool ReadLastWriteTime(const char* path, IndexFileTime& time) override {
        FILETIME written;
        if (!GetPathWriteTime(path, &written)) return false;
        time.high = written.dwHighDateTime;
        time.low = written.dwLowDateTime;
        return true;
    }
};

}  // namespace

// The drive walk asks about every letter, media-less drives included.
int LocateRecorderIndex(char* directory, uint32_t* number) {
    const ScopedQuietErrorMode quiet;
    Win32VolumeProbe probe;
    return FindNewestIndex(probe, directory, *number);
}
