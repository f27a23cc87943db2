#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Finding the recorder's drive and its newest track index, apart from the
// file system calls, which an IndexVolumeProbe answers (Win32 in
// locate_win.cpp, a fake in the tests).

// Drive type codes as GetDriveTypeA reports them; these three are skipped.
constexpr uint32_t DRIVE_TYPE_UNKNOWN = 0;
constexpr uint32_t DRIVE_TYPE_NO_ROOT = 1;
constexpr uint32_t DRIVE_TYPE_CDROM = 5;

constexpr char FIRST_DRIVE_LETTER = 'C';
constexpr char LAST_DRIVE_LETTER = 'Z';
constexpr const char* RECORDER_MARKER = "HMDHIFI\\_MDHIFI.HMA";  // below the drive root
constexpr const char* INDEX_DIRECTORY = "HMDHIFI";               // below the drive root
constexpr const char* INDEX_NAME_FORMAT = "\\TRKIDX%02x.HMA";
// Each index generation nn has its disc list MCLISTnn.HMA beside it, which
// holds the disc's identity.
constexpr const char* INDEX_NAME_STEM = "TRKIDX";
constexpr const char* DISC_LIST_NAME_STEM = "MCLIST";
constexpr const char* INDEX_NAME_EXTENSION = ".HMA";
constexpr size_t INDEX_NUMBER_DIGITS_MAX = 4;  // a longer name is no generation's

// Index numbers tried: two hexadecimal digits. A drive whose index files
// can't be opened at all would otherwise be searched without end.
constexpr uint32_t INDEX_NUMBER_LIMIT = 0x100;

constexpr size_t INDEX_DIRECTORY_SIZE = 256;  // "D:\HMDHIFI" and its terminator fit easily
constexpr size_t INDEX_PATH_SIZE = 260;       // 259 characters and the terminator

// A 64-bit FILETIME as its two 32-bit halves.
struct IndexFileTime {
    uint32_t high;
    uint32_t low;
};

// Orders two last-write times: the high halves as signed values, then the
// low halves as unsigned ones. Negative, zero or positive like strcmp.
int CompareIndexFileTimes(IndexFileTime a, IndexFileTime b);

class IndexVolumeProbe {
public:
    virtual ~IndexVolumeProbe() = default;
    // The drive type code of a root such as "D:\".
    virtual uint32_t DriveType(const char* root) = 0;
    // True when the attributes of the path can be read (the file is there).
    virtual bool HasAttributes(const char* path) = 0;
    // Opens the file for reading, reads its last-write time and closes it;
    // false when it can't be opened or its time can't be read.
    virtual bool ReadLastWriteTime(const char* path, IndexFileTime& time) = 0;
};

// Writes directory + "\TRKIDX%02x.HMA" for the number. Returns 1, or 0 (and
// an empty output) when the path does not fit.
int FormatIndexPath(char* out, size_t size, const char* directory, uint32_t number);

// Finds the first drive from C to Z (types 0, 1 and 5 skipped) that holds the
// marker file and, in its index directory, the index file written last.
// Returns 1 with directory (INDEX_DIRECTORY_SIZE bytes) and number filled;
// 0, leaving both untouched, when no drive holds the marker or the marked
// drive has no index file that opens among the numbers tried.
int FindNewestIndex(IndexVolumeProbe& probe, char* directory, uint32_t& number);

// The disc list's name for an index file's name: "TRKIDX07.HMA" in any
// letter case gives "MCLIST07.HMA", the digits as written. False when the
// name is not TRKIDX, one to INDEX_NUMBER_DIGITS_MAX hexadecimal digits and
// .HMA.
bool DiscListName(const std::string& indexName, std::string& out);
