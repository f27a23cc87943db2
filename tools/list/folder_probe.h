#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "index/locate.h"

// The index locator's file system questions answered for one folder that
// holds a recorder's drive or a copy of it: the folder stands as drive C:,
// every other letter has no root. Names below the folder are found whatever
// their letter case, as on the recorder's FAT file system and on Windows,
// also where the file system tells cases apart.
class FolderProbe : public IndexVolumeProbe {
public:
    explicit FolderProbe(std::filesystem::path root) : root_(std::move(root)) {}

    uint32_t DriveType(const char* root) override;
    bool HasAttributes(const char* path) override;
    bool ReadLastWriteTime(const char* path, IndexFileTime& time) override;

    // The file that a drive path such as "C:\HMDHIFI\TRKIDX0a.HMA" names
    // below the folder; false when a part of it is missing.
    bool Resolve(const char* path, std::filesystem::path& out) const;

private:
    std::filesystem::path root_;
};

// The entry of folder named name when letters A-Z are folded: the exact name
// when it is there, otherwise the first matching name in byte order. False
// when there is none.
bool FindEntryAnyCase(const std::filesystem::path& folder, const std::string& name,
                      std::filesystem::path& out);
