// What the window's Save Format and Load Format boxes and dialogs say, and
// what tavolin-list says when it can't use a layouts file: one wording for
// both programs.
#pragma once

inline constexpr char FORMAT_FILE_EXTENSION[] = ".tfc";
inline constexpr char FORMAT_FILE_TYPE_TEXT[] = "Tavolin Format Config File";
inline constexpr char SAVE_FORMAT_TITLE[] = "Select where to save formatting configuration.";
inline constexpr char LOAD_FORMAT_TITLE[] = "Select format configuration file to use";
inline constexpr char SAVE_FORMAT_SUCCESS_TEXT[] = "Configuration file has been successfully created";
inline constexpr char SAVE_FORMAT_CREATE_FAILED_TEXT[] =
    "Failed to create formatting configuration file. Please make sure the path is valid, the "
    "media is not write protected and that you are not trying to overwrite a write protected "
    "file ";
inline constexpr char SAVE_FORMAT_WRITE_FAILED_TEXT[] =
    "Failed to write formatting configuration file. Please make sure the media is not full or "
    "write protected and that it is still connected; the file may be incomplete.";
// The file does not open.
inline constexpr char LOAD_FORMAT_OPEN_FAILED_TEXT[] =
    "Failed to open formatting configuration file. Please make sure the path is valid.";
// A read failed or the version is above the one this program writes.
inline constexpr char LOAD_FORMAT_VERSION_TEXT[] =
    "The format file could not be read or is an incorrect version.";
