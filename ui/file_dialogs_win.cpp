#include "ui/file_dialogs_win.h"

#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr size_t FILTER_SIZE = 255;
constexpr size_t DIALOG_NAME_SIZE = 260;
constexpr size_t FILE_TITLE_SIZE = 260;

// What the program hands the dialogs as default extension; a name typed
// without an extension gets whatever the dialog's own rule adds.
constexpr char SAVE_DEFAULT_EXTENSION[] = "*.oma";
constexpr char OPEN_DEFAULT_EXTENSION[] = "*.mp3";

// Fills `filter` (FILTER_SIZE bytes) with one entry: the display text, its
// terminator, the pattern, and the zeros that end the list. Long texts are
// cut so that the two closing zeros always remain.
void BuildFilter(char* filter, const char* typeText, const char* extension) {
  memset(filter, 0, FILTER_SIZE);
  if (typeText == nullptr) typeText = "";
  if (extension == nullptr) extension = "";
  // Room for the display text: at least the pattern's one byte and two zeros stay.
  const size_t displayRoom = FILTER_SIZE - 3;
  int n = snprintf(filter, displayRoom, "%s (*%s)", typeText, extension);
  size_t displayLen = n < 0 ? 0 : static_cast<size_t>(n);
  if (displayLen > displayRoom - 1) displayLen = displayRoom - 1;
  char* pattern = filter + displayLen + 1;
  const size_t patternRoom = FILTER_SIZE - (displayLen + 1) - 1;
  snprintf(pattern, patternRoom, "*%s", extension);
}

}  // namespace

int ShowSaveDialog(const char* title, const char* extension, const char* typeText, char* name,
                   size_t nameSize) {
  char filter[FILTER_SIZE];
  BuildFilter(filter, typeText, extension);
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
  char filter[FILTER_SIZE];
  BuildFilter(filter, typeText, extension);
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
