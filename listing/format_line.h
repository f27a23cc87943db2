#pragma once
#include <cstddef>
#include <cstdint>

#include "listing/track_catalogue.h"
#include "settings/format_settings.h"
#include "text/utf8.h"

// A rendered line holds at most FORMAT_LINE_CHARS characters; the callers'
// buffers of FORMAT_LINE_SIZE bytes hold that many of any kind in UTF-8.
constexpr size_t FORMAT_LINE_CHARS = 1023;
constexpr size_t FORMAT_LINE_SIZE = Utf8Size(FORMAT_LINE_CHARS);

// Renders catalogue record index through the FormatTable of the current
// listing mode of gFormatSettings into out (size bytes, always terminated),
// at most FORMAT_LINE_CHARS characters cut on a character boundary; an index
// outside the catalogue renders an empty line. Returns the length in bytes.
size_t FormatLine(intptr_t index, char* out, size_t size = FORMAT_LINE_SIZE);

// The same for an explicit record and settings.
size_t FormatRecordLine(const TrackRecord& record, const FormatSettings& settings, char* out, size_t size);

// The recording-mode name that a line shows for a bit rate ("PCM\t1411kbps"
// for 1411200, "UNKNOWN ATRAC" for any unknown rate).
const char* FormatModeName(uint32_t bitrate);

// A slot's repeat amount: the field (at most size bytes, up to its first NUL)
// read as a decimal integer the way strtol reads it: leading white space,
// an optional sign, the digits up to the first other character; no digits
// give 0, values beyond the range of long saturate.
long ReadAmount(const char* field, size_t size);
