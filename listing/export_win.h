// Export List: every line of the track list, rendered through the current
// layout, into a text file. GUI thread only.
#pragma once

#include <cstddef>

// Texts and titles of the export's message boxes.
extern const char EXPORT_DIALOG_TITLE[];
// The two file types of the export's dialog: UTF-8 text, and UTF-8 text that
// begins with the byte order mark (EF BB BF).
extern const char EXPORT_TYPE_TEXT[];
extern const char EXPORT_TYPE_TEXT_WITH_BOM[];
extern const char EXPORT_SUCCESS_TEXT[];
extern const char EXPORT_CREATE_FAILED_TEXT[];
extern const char EXPORT_WRITE_FAILED_TEXT[];
extern const char TITLE_OK[];
extern const char TITLE_ERROR[];

// Line index of the track list (gListingWindow) rendered through the layout
// of the current listing mode into out (size bytes, FORMAT_LINE_SIZE holds
// any line), always terminated; returns the bytes written. A line that is
// not there renders as the line of item 0.
size_t RenderListLine(int index, char* out, size_t size);

// Every line of the track list, top to bottom, rendered through the current
// layout exactly as Export List writes it (each line ended as the layout ends
// it), handed to write in order; stops at the first write that answers
// false, and answers false then.
using ListedLineWriter = bool (*)(void* sink, const char* line, size_t length);
bool RenderListedLines(ListedLineWriter write, void* sink);

// The Export List command: asks for a file and writes every line of the
// track list, rendered, into it as UTF-8, after the byte order mark when
// the user chose the second file type.
void ExportListing();
