// The save flow of a command that writes a file the user keeps: its save
// dialog, a FileReplacement and the message box that tells how it went.
#pragma once

#include <windows.h>

#include "base/file_replacement_win.h"
#include "ui/file_filter.h"

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
