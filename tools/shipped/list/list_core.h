#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "index/disc_identity.h"
#include "index/track_index.h"
#include "listing/track_catalogue.h"
#include "settings/format_settings.h"

// Bytes of the standard output's buffer when it is not a terminal.
constexpr size_t LIST_OUTPUT_BUFFER_SIZE = 64 * 1024;

// Exit statuses of tavolin-list.
constexpr int LIST_OK = 0;
constexpr int LIST_FAILED = 1;  // a path or the layouts file could not be read, or output failed
constexpr int LIST_USAGE = 2;   // bad options

enum class ListOutput {
    LINES,   // the disc title and the lines of the track list
    CSV,     // one table row per line of the track list
    LAYOUT,  // every line rendered through a layouts file, as Export List writes it
    TSV,     // the index's records in file order, tab-separated
    INFO,    // what the disc is: title, identity, index, counts, length, dates
};

// What tavolin-list does with the catalogue instead of listing recorders.
enum class CatalogueCommand {
    NONE,    // list the PATHs
    ADD,     // --add: store the discs at the PATHs
    FIND,    // --find TEXT
    DISCS,   // --discs
    DISC,    // --disc KEY: list a stored disc
    REMOVE,  // --remove KEY
};

struct ListOptions {
    bool isHelp = false;
    bool isVersion = false;
    CatalogueCommand command = CatalogueCommand::NONE;
    std::string commandValue;   // the TEXT or KEY of --find, --disc and --remove
    std::string cataloguePath;  // --catalogue FILE; "" for the default place
    ListOutput output = ListOutput::LINES;
    ListingMode mode = FULL_LISTING;
    SortLevel levels[3] = {{SORT_NUMBER_ASC, 0}, {SORT_LENGTH_ASC, 0}, {SORT_BITRATE_ASC, 0}};
    uint32_t roundLengths = 1;
    std::string layoutPath;
    std::vector<std::string> paths;
};

// Reads the arguments that follow the program name. False with a message
// on a usage error.
bool ParseListOptions(const std::vector<std::string>& args, ListOptions& options, std::string& error);

// The whole program: parses args, lists every path to out, reports problems
// to err and returns the exit status. appData is %APPDATA% as UTF-8 on
// Windows (where the default catalogue lives), nullptr elsewhere.
int RunList(const std::vector<std::string>& args, FILE* out, FILE* err, const char* appData = nullptr);

// What a listing says of a disc besides its tracks.
struct DiscFacts {
    std::string title;
    bool hasTitle = false;  // the disc has a title cell (a title line is printed)
    DiscIdentity identity{};
    std::string indexName;  // the index file's name as its folder lists it
};

// A disc read from a recorder's drive, a copy of its folder or an index file.
struct ReadDisc {
    DiscFacts facts;
    std::filesystem::path index;
    std::vector<uint8_t> image;  // with the padding ReadIndexImage adds
};

// Reads the disc at path, and when isWalked its tracks into the listing's
// records (gCatalogue). False with a message naming the path.
bool ReadDiscAt(const std::string& path, ReadDisc& disc, std::string& error, bool isWalked = true);

// Prints the disc whose tracks the listing's records hold in the chosen
// form (not --tsv), with gFormatSettings. False when out of memory.
bool PrintListedDisc(const DiscFacts& disc, const ListOptions& options, FILE* out);

// The catalogue commands (options.command is not NONE); the exit status.
int RunCatalogueCommand(const ListOptions& options, FILE* out, FILE* err, const char* appData);

// A --csv table's header and rows, with extra columns after disc_id when
// not nullptr (their names in the header; a row's disc_title). Rows take the
// settings CsvLengthSettings makes, which give the lengths as shown.
FormatSettings CsvLengthSettings(const FormatSettings& settings);
void PrintCsvHeader(const char* extraColumns, FILE* out);
void PrintCsvRow(const TrackRecord& record, const FormatSettings& lengthOnly, const char* discId,
                 const char* discTitle, FILE* out);

// The track index to read for a path: the path itself when it is a file, or
// the newest index of a recorder's root folder or of its HMDHIFI folder,
// chosen as the window chooses it (FindCopyIndex). On failure returns false
// with a message naming the path.
bool ResolveIndexPath(const std::filesystem::path& path, std::filesystem::path& index, std::string& error);

// Reads the file, up to INDEX_READ_LIMIT bytes, into a zeroed image 100 bytes
// longer than what was read, as the scan does. False when the file can't be
// opened or read.
bool ReadIndexImage(const std::filesystem::path& path, std::vector<uint8_t>& image);

// The identity in the disc list beside the index file (MCLISTnn.HMA of the
// same generation, found in any letter case), of which at most
// DISC_LIST_READ_SIZE bytes are read; not known when there is none.
DiscIdentity ReadDiscIdentityBeside(const std::filesystem::path& index);

// Walks the image and prints one tab-separated record for the disc and each
// track, in file order.
void PrintIndexRecords(const TrackIndexFile& file, FILE* out);

// A text for a TSV field: backslash, tab, CR and LF written as \\ \t \r \n.
std::string EscapeTsvField(const char* text);
