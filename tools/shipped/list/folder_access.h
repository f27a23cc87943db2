#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

#include "index/locate_copy.h"

// Paths are UTF-8 text on every platform: the Windows program's own narrow
// encoding would be the code page, which cannot name every folder.
std::filesystem::path PathOf(const std::string& text);
std::string TextOf(const std::filesystem::path& path);

// A copy's file system questions answered with std::filesystem. Names are
// found whatever their letter case, as on the recorder's FAT file system and
// on Windows, also where the file system tells cases apart.
class NativeFolderAccess : public CopyFolderAccess {
public:
    CopyEntryKind KindOf(const std::string& path) override;
    bool FindEntry(const std::string& folder, const std::string& name, std::string& out) override;
    // Only a regular file that opens for reading counts, as CreateFileA
    // opens no folder and no file it may not read.
    bool ReadLastWriteTime(const std::string& path, IndexFileTime& time) override;
};

// The entry of folder named name when letters A-Z are folded: the exact name
// when it is there, otherwise the first matching name in byte order. False
// when there is none.
bool FindEntryAnyCase(const std::filesystem::path& folder, const std::string& name,
                      std::filesystem::path& out);
