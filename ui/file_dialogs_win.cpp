#include "ui/file_dialogs_win.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "base/wide_text_win.h"

namespace {

constexpr size_t DIALOG_NAME_SIZE = 260;
constexpr size_t FILE_TITLE_SIZE = 260;

// What the program hands the dialogs as default extension; a name typed
// without an extension gets whatever the dialog's own rule adds.
constexpr wchar_t SAVE_DEFAULT_EXTENSION[] = L"*.oma";
constexpr wchar_t OPEN_DEFAULT_EXTENSION[] = L"*.mp3";

// The filter as wide text: the whole area is converted, its zeros with it.
std::wstring WideFilter(const FileType* types, size_t count) {
    char filter[FILE_FILTER_SIZE];
    BuildFileFilter(filter, sizeof filter, types, count);
    return ToWide(filter, sizeof filter);
}

// Fills the file-name structure the two dialogs share: no owner (the main
// window keeps its input while a dialog is open), the filter with its first
// type chosen, the platform's default folder.
void FillDialogFields(OPENFILENAMEW& ofn, const wchar_t* filter, wchar_t* file, DWORD maxFile,
                      wchar_t* fileTitle, const wchar_t* title, DWORD flags, const wchar_t* defaultExtension) {
    memset(&ofn, 0, sizeof ofn);
    // The Windows 95-era layout: the same structure version in 32 and 64 bits.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
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

bool ShowSaveDialog(const char* title, const FileType* types, size_t typeCount, char* name, size_t nameSize,
                    int* chosenType) {
    const std::wstring filter = WideFilter(types, typeCount);
    const std::wstring wideTitle = ToWide(title);
    wchar_t chosen[DIALOG_NAME_SIZE] = {};
    wchar_t fileTitle[FILE_TITLE_SIZE] = {};

    OPENFILENAMEW ofn;
    FillDialogFields(ofn, filter.c_str(), chosen, DIALOG_NAME_SIZE, fileTitle, wideTitle.c_str(),
                     OFN_OVERWRITEPROMPT, SAVE_DEFAULT_EXTENSION);

    if (!GetSaveFileNameW(&ofn)) return false;
    if (name != nullptr && nameSize > 0) {
        memset(name, 0, nameSize);
        CopyAsUtf8(chosen, -1, name, nameSize);
    }
    if (chosenType != nullptr) *chosenType = static_cast<int>(ofn.nFilterIndex);
    return true;
}

// The dialog writes wide text: it gets room for as many characters as the
// caller's buffer has bytes, and the path comes back as UTF-8 cut to fit.
bool ShowOpenDialog(const char* title, const FileType& type, char* name, size_t nameSize) {
    // The dialog needs room for at least one character and its terminator.
    if (name == nullptr || nameSize < 2) return false;
    const std::wstring filter = WideFilter(&type, 1);
    const std::wstring wideTitle = ToWide(title);
    wchar_t fileTitle[FILE_TITLE_SIZE] = {};
    memset(name, 0, nameSize);

    const size_t maxFile = nameSize - 1 > 0xFFFFu ? 0xFFFFu : nameSize - 1;
    std::wstring chosen(maxFile + 1, L'\0');
    OPENFILENAMEW ofn;
    FillDialogFields(ofn, filter.c_str(), chosen.data(), static_cast<DWORD>(maxFile), fileTitle,
                     wideTitle.c_str(), OFN_FILEMUSTEXIST, OPEN_DEFAULT_EXTENSION);

    if (!GetOpenFileNameW(&ofn)) return false;
    CopyAsUtf8(chosen.c_str(), -1, name, nameSize);
    return true;
}

void ShowMessage(const char* text, const char* title) {
    MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(title).c_str(), MB_OK | MB_SETFOREGROUND);
}

bool AskYesNo(const char* text, const char* title) {
    return MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(title).c_str(),
                       MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}
