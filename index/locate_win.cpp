#include "index/locate_win.h"

#include <cstring>

#include "base/file_system_win.h"

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

int IndexLocator(char* directory, uint32_t* number) {
    // A card reader or floppy drive without a medium would otherwise raise
    // the system's "no disk" box while the drives are walked.
    DWORD oldMode = 0;
    const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    Win32VolumeProbe probe;
    const int found = FindNewestIndex(probe, directory, *number);
    if (modeSet) SetThreadErrorMode(oldMode, nullptr);
    return found;
}
