#include "ui/file_dialogs_win.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "ui/file_filter.h"

namespace {

constexpr size_t DIALOG_NAME_SIZE = 260;
constexpr size_t FILE_TITLE_SIZE = 260;

// What the program hands the dialogs as default extension; a name typed
// without an extension gets whatever the dialog's own rule adds.
constexpr char SAVE_DEFAULT_EXTENSION[] = "*.oma";
constexpr char OPEN_DEFAULT_EXTENSION[] = "*.mp3";

// Fills the file-name structure the two dialogs share: no owner (the main
// window keeps its input while a dialog is open), the one-type filter, the
// platform's default folder.
void FillDialogFields(OPENFILENAMEA& ofn, const char* filter, char* file, DWORD maxFile, char* fileTitle,
                      const char* title, DWORD flags, const char* defaultExtension) {
    memset(&ofn, 0, sizeof ofn);
    // The Windows 95-era layout: the same structure version in 32 and 64 bits.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = nullptr;
    ofn.hInstance = nullptr;
    ofn.lpstrFilter = filter;
    ofn.lpstrCustomFilter = nullptr;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = maxFile;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = FILE_TITLE_SIZE;
    ofn.lpstrInitialDir = nullptr;
    ofn.lpstrTitle = title;
    ofn.Flags = flags;
    ofn.lpstrDefExt = defaultExtension;
}

}  // namespace

int ShowSaveDialog(const char* title, const char* extension, const char* typeText, char* name,
                   size_t nameSize) {
    char filter[FILE_FILTER_SIZE];
    BuildFileFilter(filter, sizeof filter, typeText, extension);
    char chosen[DIALOG_NAME_SIZE] = {};
    char fileTitle[FILE_TITLE_SIZE] = {};

    OPENFILENAMEA ofn;
    FillDialogFields(ofn, filter, chosen, DIALOG_NAME_SIZE, fileTitle, title, OFN_OVERWRITEPROMPT,
                     SAVE_DEFAULT_EXTENSION);

    const BOOL result = GetSaveFileNameA(&ofn);
    if (result && name != nullptr && nameSize > 0) {
        memset(name, 0, nameSize);
        strncpy(name, chosen, nameSize - 1);
    }
    return result;
}

int ShowOpenDialog(const char* title, const char* extension, const char* typeText, char* name,
                   size_t nameSize) {
    // The dialog needs room for at least one character and its terminator.
    if (name == nullptr || nameSize < 2) return 0;
    char filter[FILE_FILTER_SIZE];
    BuildFileFilter(filter, sizeof filter, typeText, extension);
    char fileTitle[FILE_TITLE_SIZE] = {};
    memset(name, 0, nameSize);

    const size_t maxFile = nameSize - 1;
    OPENFILENAMEA ofn;
    FillDialogFields(ofn, filter, name, maxFile > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(maxFile),
                     fileTitle, title, OFN_FILEMUSTEXIST, OPEN_DEFAULT_EXTENSION);

    return GetOpenFileNameA(&ofn);
}

void ShowMessage(const char* text, const char* title) {
    MessageBoxA(nullptr, text, title, MB_OK | MB_SETFOREGROUND);
}
