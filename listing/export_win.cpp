#include "listing/export_win.h"

#include <windows.h>

#include "listing/format_line.h"
#include "listing/listing_win.h"
#include "settings/busy_flag.h"
#include "ui/controls_win.h"
#include "ui/save_flow_win.h"

const char EXPORT_DIALOG_TITLE[] = "Select where to save output listing file.";
const char EXPORT_TYPE_TEXT[] = "Text File";
const char EXPORT_TYPE_TEXT_WITH_BOM[] = "Text File, UTF-8 with BOM (for spreadsheets)";
const char EXPORT_SUCCESS_TEXT[] = "Listing file has been successfully created";
const char EXPORT_CREATE_FAILED_TEXT[] =
    "Failed to create output listing file. Please make sure the path is valid, the media is not "
    "write protected and that you are not trying to overwrite a write protected file ";
const char EXPORT_WRITE_FAILED_TEXT[] =
    "Failed to write output listing file. Please make sure the media is not full or write "
    "protected and that it is still connected; the file may be incomplete.";
const char TITLE_OK[] = "Tavolin OK";
const char TITLE_ERROR[] = "Tavolin Error";

namespace {
// The file types of Export List: UTF-8 text, and the same with the byte
// order mark first, which tells a spreadsheet the file's encoding.
constexpr int EXPORT_TYPE_WITH_BOM = 2;
const FileType EXPORT_FILE_TYPES[] = {{EXPORT_TYPE_TEXT, ".txt"}, {EXPORT_TYPE_TEXT_WITH_BOM, ".txt"}};
constexpr char UTF8_BOM[] = "\xEF\xBB\xBF";

bool WriteToFile(void* sink, const char* line, size_t length) {
    return static_cast<FileReplacement*>(sink)->Write(line, DWORD(length));
}

// Stops at the first write that fails.
bool WriteListing(FileReplacement& file, int fileType, void*) {
    if (fileType == EXPORT_TYPE_WITH_BOM && !file.Write(UTF8_BOM, sizeof UTF8_BOM - 1)) return false;
    return RenderListedLines(WriteToFile, &file);
}
}  // namespace

// The list holds each line's item data (a track or a group of the
// catalogue); the layout renders from that, not from the list's text.
size_t RenderListLine(int index, char* out, size_t size) {
    return FormatLine(GetListItemData(gListingWindow.trackList, index), out, size);
}

bool RenderListedLines(ListedLineWriter write, void* sink) {
    const int count = GetListCount(gListingWindow.trackList);
    char line[FORMAT_LINE_SIZE];
    for (int i = 0; i < count; ++i) {
        const size_t length = RenderListLine(i, line, sizeof line);
        if (!write(sink, line, length)) return false;
    }
    return true;
}

// The lines are written as the list stands when the dialog closes (scan
// messages are handled while it is open).
void ExportListing() {
    if (gBusy) return;
    const BusyScope busy;
    const SaveCommand command = {EXPORT_DIALOG_TITLE,
                                 EXPORT_FILE_TYPES,
                                 sizeof EXPORT_FILE_TYPES / sizeof EXPORT_FILE_TYPES[0],
                                 FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 EXPORT_SUCCESS_TEXT,
                                 TITLE_OK,
                                 EXPORT_CREATE_FAILED_TEXT,
                                 EXPORT_WRITE_FAILED_TEXT,
                                 TITLE_ERROR};
    SaveThroughDialog(command, WriteListing, nullptr);
}
