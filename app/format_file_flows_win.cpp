#include "app/format_file_flows_win.h"

#include <windows.h>

#include <algorithm>

#include "listing/listing_win.h"
#include "panel/listing_tables.h"
#include "panel/option_panel_win.h"
#include "settings/busy_flag.h"
#include "settings/format_file.h"
#include "settings/format_settings.h"
#include "ui/file_dialogs_win.h"
#include "ui/replace_file_win.h"

const char FORMAT_FILE_EXTENSION[] = ".tfc";
const char FORMAT_FILE_TYPE_TEXT[] = "Tavolin Format Config File";
const char SAVE_FORMAT_TITLE[] = "Select where to save formatting configuration.";
const char LOAD_FORMAT_TITLE[] = "Select format configuration file to use";
const char SAVE_FORMAT_SUCCESS_TEXT[] = "Configuration file has been successfully created";
const char SAVE_FORMAT_CREATE_FAILED_TEXT[] =
    "Failed to create formatting configuration file. Please make sure the path is valid, the "
    "media is not write protected and that you are not trying to overwrite a write protected "
    "file ";
const char SAVE_FORMAT_WRITE_FAILED_TEXT[] =
    "Failed to write formatting configuration file. Please make sure the media is not full or "
    "write protected and that it is still connected; the file may be incomplete.";
const char LOAD_FORMAT_OPEN_FAILED_TEXT[] =
    "Failed to open formatting configuration file. Please make sure the path is valid.";
const char LOAD_FORMAT_VERSION_TEXT[] = "The format file could not be read or is an incorrect version.";

namespace {

constexpr size_t FILE_NAME_SIZE = 1024;

// Reads up to size bytes from the start of the file; only that much of a
// format file means anything, whatever follows is never looked at. False
// when a read fails (a file that ends early is not a failure).
bool ReadFileHead(HANDLE file, uint8_t* bytes, size_t size, size_t* got) {
    *got = 0;
    while (*got < size) {
        DWORD n = 0;
        if (!ReadFile(file, bytes + *got, DWORD(size - *got), &n, nullptr)) return false;
        if (n == 0) break;
        *got += n;
    }
    return true;
}

}  // namespace

// The bytes go into a new file beside the target, which replaces it only
// once all of them are written and the file is closed: a failure leaves the
// user's old file as it was.
WriteFileResult WriteWholeFile(const char* path, const uint8_t* bytes, size_t size) {
    FileReplacement file;
    if (!file.Begin(path, FILE_SHARE_READ)) return WRITE_FILE_CREATE_FAILED;
    for (size_t done = 0; done < size;) {
        const DWORD n = DWORD(std::min<size_t>(size - done, MAXDWORD));
        if (!file.Write(bytes + done, n)) return WRITE_FILE_WRITE_FAILED;
        done += n;
    }
    return file.Commit() ? WRITE_FILE_OK : WRITE_FILE_WRITE_FAILED;
}

// A write or close that fails is reported, never the success box: the file
// on disk is then not the layout the user meant to keep.
void SaveFormat() {
    if (gBusy) return;
    BusyScope busy;
    char name[FILE_NAME_SIZE] = {};
    if (!ShowSaveDialog(SAVE_FORMAT_TITLE, FORMAT_FILE_EXTENSION, FORMAT_FILE_TYPE_TEXT, name, sizeof name))
        return;
    uint8_t bytes[FORMAT_FILE_SIZE];
    WriteFormatFile(gFormatSettings, bytes);
    switch (WriteWholeFile(name, bytes, sizeof bytes)) {
    case WRITE_FILE_OK: ShowMessage(SAVE_FORMAT_SUCCESS_TEXT, TITLE_OK); break;
    case WRITE_FILE_CREATE_FAILED: ShowMessage(SAVE_FORMAT_CREATE_FAILED_TEXT, TITLE_ERROR); break;
    case WRITE_FILE_WRITE_FAILED: ShowMessage(SAVE_FORMAT_WRITE_FAILED_TEXT, TITLE_ERROR); break;
    }
}

// The file is read whole before anything is stored, so a version that is
// refused, or a read that fails, leaves both layouts as they were. After a
// load the panel is re-marked from the loaded tokens (one of the two marks
// posts one rebuild of the whole panel) and the preview follows the loaded
// layout at once.
void LoadFormat(WindowContext* context) {
    BusyScope busy;
    char name[FILE_NAME_SIZE] = {};
    if (!ShowOpenDialog(LOAD_FORMAT_TITLE, FORMAT_FILE_EXTENSION, FORMAT_FILE_TYPE_TEXT, name, sizeof name))
        return;
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ShowMessage(LOAD_FORMAT_OPEN_FAILED_TEXT, TITLE_ERROR);
        return;
    }
    uint8_t bytes[FORMAT_FILE_SIZE] = {};
    size_t got = 0;
    const bool isRead = ReadFileHead(file, bytes, sizeof bytes, &got);
    CloseHandle(file);
    if (!isRead || !ReadFormatFile(bytes, got, gFormatSettings)) {
        ShowMessage(LOAD_FORMAT_VERSION_TEXT, TITLE_ERROR);
        return;
    }
    busy.Release();

    const ListingMode mode = gFormatSettings.listingMode;
    MarkChoices(context, ListTypeTable, mode == FULL_LISTING);
    MarkChoices(context, GroupListingRows, mode == GROUP_LISTING);
    RefreshPreview();
}
