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

}  // namespace

int ShowSaveDialog(const char* title, const char* extension, const char* typeText, char* name,
                   size_t nameSize) {
  char filter[FILE_FILTER_SIZE];
  BuildFileFilter(filter, sizeof filter, typeText, extension);
  char chosen[DIALOG_NAME_SIZE] = {};
  char fileTitle[FILE_TITLE_SIZE] = {};

  OPENFILENAMEA ofn;
  memset(&ofn, 0, sizeof ofn);
  // The Windows 95-era layout: the same structure version in 32 and 64 bits.
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = nullptr;
  ofn.hInstance = nullptr;
  ofn.lpstrFilter = filter;
  ofn.lpstrCustomFilter = nullptr;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = chosen;
  ofn.nMaxFile = DIALOG_NAME_SIZE;
  ofn.lpstrFileTitle = fileTitle;
  ofn.nMaxFileTitle = FILE_TITLE_SIZE;
  ofn.lpstrInitialDir = nullptr;
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_OVERWRITEPROMPT;
  ofn.lpstrDefExt = SAVE_DEFAULT_EXTENSION;

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

  OPENFILENAMEA ofn;
  memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  ofn.hwndOwner = nullptr;
  ofn.hInstance = nullptr;
  ofn.lpstrFilter = filter;
  ofn.lpstrCustomFilter = nullptr;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name;
  const size_t maxFile = nameSize - 1;
  ofn.nMaxFile = maxFile > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(maxFile);
  ofn.lpstrFileTitle = fileTitle;
  ofn.nMaxFileTitle = FILE_TITLE_SIZE;
  ofn.lpstrInitialDir = nullptr;
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_FILEMUSTEXIST;
  ofn.lpstrDefExt = OPEN_DEFAULT_EXTENSION;

  return GetOpenFileNameA(&ofn);
}
