#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/format_settings.h"

// The format configuration file (.tfc): a little-endian 32-bit version, then
// the Full Listing and the Group Listing FormatTable as byte images.

constexpr uint32_t FORMAT_FILE_VERSION = 2;
constexpr size_t FORMAT_FILE_VERSION_SIZE = 4;
constexpr size_t FORMAT_FILE_SIZE = FORMAT_FILE_VERSION_SIZE + 2 * sizeof(FormatTable);  // 5124

// Writes the version 2 image of both tables of settings into out.
void WriteFormatFile(const FormatSettings& settings, uint8_t out[FORMAT_FILE_SIZE]);

// Reads a file's bytes into the tables of settings as the file's version
// says; a field that is not UTF-8 is read as Windows-1252 and converted.
// Returns 1 when read, 0 when the version is above 2 (both tables are then
// unchanged).
int ReadFormatFile(const uint8_t* bytes, size_t size, FormatSettings& settings);
