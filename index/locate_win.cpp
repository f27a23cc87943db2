#include "index/locate_win.h"

#include <cstring>

#include "ui/scoped_win.h"

namespace {

class Win32VolumeProbe : public IndexVolumeProbe {
public:
    uint32_t DriveType(const char* root) override { return GetDriveTypeA(root); }

    bool HasAttributes(const char* path) override {
        return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    }

    bool ReadLastWriteTime(const char* path, IndexFileTime& time) override {
        const ScopedHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        FILETIME written;
        if (!file.IsValid() || !GetFileTime(file.Get(), nullptr, nullptr, &written)) return false;
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
