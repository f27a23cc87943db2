// Writing a file that users keep so that it is never left half-written: the
// bytes go into a new file beside the target, and the target is replaced by
// it only after every write, the flush and the close succeeded. On any
// failure the new file is removed and the target keeps its old bytes.
#pragma once

#include <windows.h>

#include "base/scoped_win.h"

// The longest path a save dialog hands over, terminator included.
constexpr size_t SAVE_NAME_SIZE = 1024;
// Room for a path from the save dialog and the new file's suffix.
constexpr size_t REPLACE_PATH_SIZE = SAVE_NAME_SIZE + 32;

class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement() { Abandon(); }
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Checks that target may be replaced (opening an existing one for writing
    // with targetShare, as creating it over the old one would) and creates
    // the new file beside it. false: the target is write-protected, held by
    // another program or in a folder where no file can be made; nothing was
    // changed.
    bool Begin(const char* target, DWORD targetShare);

    // Appends size bytes. false once any write failed; later writes are
    // then skipped.
    bool Write(const void* bytes, DWORD size);

    // Flushes and closes the new file and moves it over the target. false:
    // a write, the flush, the close or the move failed; the new file is
    // removed and the target is as it was.
    bool Commit();

    // Closes and removes the new file, if any; the target is left alone.
    void Abandon();

private:
    ScopedHandle file_;
    bool isWritten_ = false;
    char target_[REPLACE_PATH_SIZE] = {};
    char fresh_[REPLACE_PATH_SIZE] = {};
};
