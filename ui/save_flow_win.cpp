#include "ui/save_flow_win.h"

#include "ui/file_dialogs_win.h"

// The new file is closed and, after a failure, removed before the message
// box opens: nothing of the command is held or left beside the target while
// the user reads it.
SaveOutcome SaveThroughDialog(const SaveCommand& command, SaveWriter write, void* user) {
    char name[SAVE_NAME_SIZE] = {};
    int fileType = 1;
    if (!ShowSaveDialog(command.dialogTitle, command.fileTypes, command.fileTypeCount, name, sizeof name,
                        &fileType))
        return SAVE_CANCELLED;
    SaveOutcome outcome = SAVE_DONE;
    {
        FileReplacement file;
        if (!file.Begin(name, command.targetShare))
            outcome = SAVE_CREATE_FAILED;
        else if (!write(file, fileType, user) || !file.Commit())
            outcome = SAVE_WRITE_FAILED;
    }
    switch (outcome) {
    case SAVE_DONE: ShowMessage(command.successText, command.successTitle); break;
    case SAVE_CREATE_FAILED: ShowMessage(command.createFailedText, command.failureTitle); break;
    default: ShowMessage(command.writeFailedText, command.failureTitle); break;
    }
    return outcome;
}
