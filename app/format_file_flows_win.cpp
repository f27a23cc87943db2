#include "app/format_file_flows_win.h"

#include <windows.h>

#include "listing/export_win.h"
#include "listing/listing_win.h"
#include "panel/listing_tables.h"
#include "panel/option_panel_win.h"
#include "settings/busy_flag.h"
#include "settings/format_file.h"
#include "settings/format_file_texts.h"
#include "settings/format_settings.h"
#include "ui/file_dialogs_win.h"
#include "base/file_system_win.h"
#include "ui/save_flow_win.h"
#include "base/scoped_win.h"

namespace {

constexpr size_t FILE_NAME_SIZE = 1024;
const FileType FORMAT_FILE_TYPE = {FORMAT_FILE_TYPE_TEXT, FORMAT_FILE_EXTENSION};

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

// The version and both tables, as they stand when the dialog closes.
bool WriteLayouts(FileReplacement& file, int, void*) {
    uint8_t bytes[FORMAT_FILE_SIZE];
    WriteFormatFile(gFormatSettings, bytes);
    return file.Write(bytes, sizeof bytes);
}

}  // namespace

void SaveFormat() {
    if (gBusy) return;
    const BusyScope busy;
    const SaveCommand command = {SAVE_FORMAT_TITLE,
                                 &FORMAT_FILE_TYPE,
                                 1,
                                 FILE_SHARE_READ,
                                 SAVE_FORMAT_SUCCESS_TEXT,
                                 TITLE_OK,
                                 SAVE_FORMAT_CREATE_FAILED_TEXT,
                                 SAVE_FORMAT_WRITE_FAILED_TEXT,
                                 TITLE_ERROR};
    SaveThroughDialog(command, WriteLayouts, nullptr);
}

// The file is read whole before anything is stored, so a version that is
// refused, or a read that fails, leaves both layouts as they were. After a
// load the panel is re-marked from the loaded tokens (one of the two marks
// posts one rebuild of the whole panel) and the preview follows the loaded
// layout at once.
void LoadFormat(WindowContext* context) {
    BusyScope busy;
    char name[FILE_NAME_SIZE] = {};
    if (!ShowOpenDialog(LOAD_FORMAT_TITLE, FORMAT_FILE_TYPE, name, sizeof name))
        return;
    ScopedHandle file(OpenFileByPath(name, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file.IsValid()) {
        ShowMessage(LOAD_FORMAT_OPEN_FAILED_TEXT, TITLE_ERROR);
        return;
    }
    uint8_t bytes[FORMAT_FILE_SIZE] = {};
    size_t got = 0;
    const bool isRead = ReadFileHead(file.Get(), bytes, sizeof bytes, &got);
    file.Close();
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
