// Writing a file that users keep so that it is never left half-written: the
// bytes go into a new file beside the target, and the target is replaced by
// it only after every write, the flush and the close succeeded. On any
// failure the new file is removed and the target keeps its old bytes.
#pragma once

#include <windows.h>

#include "ui/file_filter.h"
#include "ui/scoped_win.h"

// The name buffer that SaveThroughDialog hands the save dialog.
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

// One command that writes a file the user chooses: its save dialog, the
// sharing an existing file is opened with to check that it may be replaced
// (FileReplacement::Begin), and its message boxes.
struct SaveCommand {
    const char* dialogTitle;
    const FileType* fileTypes;  // offered by the dialog; the first is the default
    size_t fileTypeCount;
    DWORD targetShare;
    const char* successText;
    const char* successTitle;
    const char* createFailedText;  // the file cannot be made or may not be replaced
    const char* writeFailedText;   // a write, the flush, the close or the replacement failed
    const char* failureTitle;
};

// Writes the file's whole content in the file type the user chose (its
// position in the command's list, from 1); false as soon as a write fails.
using SaveWriter = bool (*)(FileReplacement& file, int fileType, void* user);

enum SaveOutcome {
    SAVE_CANCELLED,
    SAVE_DONE,
    SAVE_CREATE_FAILED,
    SAVE_WRITE_FAILED
};

// Asks for a file name with the command's save dialog, writes the file there
// through a FileReplacement and tells the user how it went in the command's
// message box: the success box only when every write, the flush, the close
// and the replacement succeeded; after a failure an older file of that name
// is as it was. A cancelled dialog is silent.
SaveOutcome SaveThroughDialog(const SaveCommand& command, SaveWriter write, void* user);
