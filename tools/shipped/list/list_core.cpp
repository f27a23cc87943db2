#include "list_core.h"

#include <atomic>
#include <cstring>
#include <fstream>
#include <system_error>

#include "folder_access.h"
#include "index/index_read.h"
#include "index/locate_copy.h"
#include "index/scan_walk.h"
#include "index/track_timing.h"
#include "listing/compare_tracks.h"
#include "listing/format_line.h"
#include "listing/listing_builder.h"
#include "catalogue/found_rows.h"
#include "listing/track_catalogue.h"
#include "settings/format_file.h"
#include "settings/format_file_texts.h"
#include "tavolin_version.h"
#include "text/fields.h"
#include "text/hms.h"

namespace fs = std::filesystem;

namespace {

// --sort names and the SortKey codes they stand for.
struct SortKeyName {
    const char* name;
    uint32_t ascending;
    uint32_t descending;
};
constexpr SortKeyName SORT_KEY_NAMES[] = {
    {"number", SORT_NUMBER_ASC, SORT_NUMBER_DESC},    {"length", SORT_LENGTH_ASC, SORT_LENGTH_DESC},
    {"bitrate", SORT_BITRATE_ASC, SORT_BITRATE_DESC}, {"group", SORT_GROUP_NAME_ASC, SORT_GROUP_NAME_DESC},
    {"artist", SORT_ARTIST_ASC, SORT_ARTIST_DESC},    {"album", SORT_ALBUM_ASC, SORT_ALBUM_DESC},
    {"title", SORT_TITLE_ASC, SORT_TITLE_DESC},       {"recorded", SORT_RECORDED_ASC, SORT_RECORDED_DESC},
};
constexpr const char* SORT_KEY_LIST = "number, length, bitrate, group, artist, album, title, recorded";

constexpr const char* HELP_TEXT =
    "usage: tavolin-list [OPTION]... PATH...\n"
    "Lists the tracks of a Hi-MD recorder: PATH is a recorder's drive or a copy of its\n"
    "folder (the one holding HMDHIFI), the HMDHIFI folder itself, or a track index\n"
    "file. The listing is the window's: Full Listing or Group Listing, sorted by up to\n"
    "three keys.\n"
    "\n"
    "  --group           the Group Listing (one line per group) instead of the Full Listing\n"
    "  --sort KEYS       up to three sort levels, comma-separated; a leading - sorts that\n"
    "                    level descending. Keys: number, length, bitrate, group (its name),\n"
    "                    artist, album, title, recorded (the recorder's clock; tracks without\n"
    "                    a recording time first); with --group, number and length are the\n"
    "                    group's, recorded its first track's. Levels not given keep the\n"
    "                    defaults number,length,bitrate\n"
    "  --case LEVELS     sort levels compared case-sensitively, for example 1,3 (default none)\n"
    "  --no-round        lengths of --layout and --csv lines cut to whole seconds, not rounded\n"
    "  --layout FILE.tfc every line rendered through the layouts file's table of the listing\n"
    "                    mode: the bytes Export List writes, with no disc title\n"
    "  --csv             a table: a header, then one row per track (or group): number, group,\n"
    "                    artist, album, title, length in seconds and as shown, mode,\n"
    "                    recorded (YYYY-MM-DD HH:MM:SS or empty), disc_id (the disc's\n"
    "                    identity, 32 hexadecimal digits, or empty)\n"
    "  --tsv             the index's records in file order, tab-separated (no sorting); a\n"
    "                    track's tenth field is its recording time or empty\n"
    "  --info            the disc: its title, identity, the index file read, the numbers of\n"
    "                    tracks and groups, the total length and the first and last\n"
    "                    recording times (none when no track has one)\n"
    "\n"
    "The catalogue keeps every disc added to it, to search them all without the recorder:\n"
    "  --add PATH...     add each disc, or update it when it changed; one line per disc:\n"
    "                    added, updated or unchanged, its title, tracks and identity (a\n"
    "                    disc without one is keyed by a hash of its index file)\n"
    "  --find TEXT       every stored track whose disc title, group, artist, album or\n"
    "                    title holds TEXT, letter case folded, one line each: the disc's\n"
    "                    title, a tab, the track's line; '' finds every track. With --csv\n"
    "                    the --csv table and a disc_title column\n"
    "  --discs           the stored discs: identity, title, tracks, length, last updated\n"
    "                    (tab-separated; with --csv a table)\n"
    "  --disc KEY        list a stored disc as its recorder lists (every option above\n"
    "                    but --tsv); KEY is its identity, at least its first 8 digits, or\n"
    "                    its exact title\n"
    "  --remove KEY      remove a stored disc\n"
    "  --catalogue FILE  the catalogue file to use instead of the default:\n"
    "                    %APPDATA%\\Tavolin\\catalogue.sqlite on Windows,\n"
    "                    $XDG_DATA_HOME/tavolin/catalogue.sqlite elsewhere (default\n"
    "                    ~/.local/share/tavolin/catalogue.sqlite); made by the first --add\n"
    "\n"
    "  --help            this text\n"
    "  --version         the program's name and version\n"
    "  --                ends the options\n"
    "\n"
    "Several paths are listed in turn, each after a line naming it, with a blank line\n"
    "between them. Texts are written in UTF-8.\n"
    "Exit status: 0 listed, 1 a path, the layouts file or the catalogue could not be read\n"
    "or written, 2 bad options.\n"
    "\n"
    "Example: tavolin-list --group --sort -length,group /media/recorder\n";

constexpr const char* CSV_HEADER = "number,group,artist,album,title,seconds,length,mode,recorded,disc_id";
constexpr const char* CSV_LINE_END = "\r\n";  // RFC 4180 records end in CRLF

// A line of text and its line end, copied into the stream's buffer without
// a format to read.
void WriteLine(const char* text, size_t n, FILE* out) {
    std::fwrite(text, 1, n, out);
    std::fputc('\n', out);
}

bool IsSameFolded(const std::string& a, const char* b) { return TextEqualsFolded(a.data(), a.size(), b); }

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) return parts;
        start = comma + 1;
    }
}

bool ParseSortKeys(const std::string& text, SortLevel levels[3], std::string& error) {
    const std::vector<std::string> names = SplitCommas(text);
    if (names.size() > 3) {
        error = "--sort takes at most three keys, got '" + text + "'";
        return false;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const bool isDescending = !names[i].empty() && names[i][0] == '-';
        const std::string name = isDescending ? names[i].substr(1) : names[i];
        const SortKeyName* found = nullptr;
        for (const SortKeyName& key : SORT_KEY_NAMES)
            if (IsSameFolded(name, key.name)) found = &key;
        if (!found) {
            error = "unknown sort key '" + names[i] + "'; the keys are " + SORT_KEY_LIST +
                    " (a leading - sorts descending)";
            return false;
        }
        levels[i].key = isDescending ? found->descending : found->ascending;
    }
    return true;
}

bool ParseCaseLevels(const std::string& text, SortLevel levels[3], std::string& error) {
    for (const std::string& part : SplitCommas(text)) {
        if (part != "1" && part != "2" && part != "3") {
            error = "--case takes sort levels 1, 2 and 3, comma-separated, got '" + text + "'";
            return false;
        }
        levels[part[0] - '1'].caseSensitive = 1;
    }
    return true;
}

// Fills the catalogue as the window's handling of the scan's reports does.
class CatalogueFiller : public ScanSink {
public:
    void OnDiscTitle(const char* text) override {
        title = text;
        hasTitle = true;
    }
    void OnTrackFound(uint32_t, const TrackReport& report) override { AppendTrack(report); }

    std::string title;
    bool hasTitle = false;
};

// Reads the layouts file into the two tables of settings as the window's
// Load Format does: only as far as the file goes, the rest of each table
// kept. A folder does not open, as on Windows.
bool ReadLayoutFile(const std::string& path, FormatSettings& settings, std::string& error) {
    std::error_code ec;
    std::ifstream in;
    if (!fs::is_directory(PathOf(path), ec)) in.open(PathOf(path), std::ios::binary);
    if (!in.is_open()) {
        error = path + ": " + LOAD_FORMAT_OPEN_FAILED_TEXT;
        return false;
    }
    uint8_t bytes[FORMAT_FILE_SIZE] = {};
    in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
    if (!ReadFormatFile(bytes, size_t(in.gcount()), settings)) {
        error = path + ": " + LOAD_FORMAT_VERSION_TEXT;
        return false;
    }
    return true;
}

void PrintCsv(const ComposedListing& listing, const FormatSettings& settings, const DiscIdentity& identity,
              FILE* out) {
    const FormatSettings lengthOnly = CsvLengthSettings(settings);
    char discId[DISC_IDENTITY_TEXT_SIZE];
    FormatDiscIdentity(identity, discId);
    PrintCsvHeader(nullptr, out);
    for (uint32_t i = 0; i < listing.count; ++i) {
        const TrackRecord* r = CatalogueRecord(listing.lines[i].itemData);
        if (r) PrintCsvRow(*r, lengthOnly, discId, nullptr, out);
    }
}

// The file's name as its folder lists it. Where the file system folds
// letter case (Windows) a path keeps the spelling it was asked by, which
// would name a copy's trkidx01.hma as TRKIDX01.HMA there and not here.
std::string ListedName(const fs::path& file) {
    const std::string name = TextOf(file.filename());
    std::error_code ec;
    for (fs::directory_iterator it(file.parent_path().empty() ? "." : file.parent_path(), ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string entry = TextOf(it->path().filename());
        if (entry == name) return entry;
        if (IsSameFolded(entry, name.c_str()) && fs::equivalent(it->path(), file, ec)) return entry;
    }
    return name;
}

// What --info says of the disc in the catalogue: one "name: value" line a
// field, an empty value where the disc has none.
bool PrintInfo(const std::string& title, const DiscIdentity& identity, const std::string& indexName,
               const FormatSettings& settings, FILE* out) {
    ComposedListing groups;
    if (!ComposeListing(gCatalogue, GROUP_LISTING, groups)) return false;
    const uint32_t groupCount = groups.count;
    ReleaseListing(groups);
    double total = 0;
    RecordingTime first = NO_RECORDING_TIME, last = NO_RECORDING_TIME;
    for (uint32_t i = 0; i < gCatalogue.count; ++i) {
        const TrackRecord& r = gCatalogue.records[i];
        total += r.trackLength;
        if (r.recorded == NO_RECORDING_TIME) continue;
        if (first == NO_RECORDING_TIME || r.recorded < first) first = r.recorded;
        if (r.recorded > last) last = r.recorded;
    }
    char discId[DISC_IDENTITY_TEXT_SIZE], length[HMS_TEXT_SIZE];
    char from[RECORDING_TIME_TEXT_SIZE], to[RECORDING_TIME_TEXT_SIZE];
    FormatDiscIdentity(identity, discId);
    FormatHms(float(total), settings.roundLengths, length, sizeof length);
    FormatRecordingTime(first, from, sizeof from);
    FormatRecordingTime(last, to, sizeof to);
    auto field = [out](const char* name, const std::string& value) {
        std::fprintf(out, "%s:%s%s\n", name, value.empty() ? "" : " ", value.c_str());
    };
    field("title", title);
    field("identity", discId);
    field("index", indexName);
    field("tracks", std::to_string(gCatalogue.count));
    field("groups", std::to_string(groupCount));
    field("length", length);
    field("recorded", first == NO_RECORDING_TIME ? "none" : std::string(from) + " to " + to);
    return true;
}

// One disc in the chosen form, after the heading (when not empty) once the
// index is read. False with a message when it can't be read.
bool ListDisc(const std::string& path, const std::string& heading, const ListOptions& options, FILE* out,
              std::string& error) {
    ReadDisc disc;
    // --tsv reads the image itself, so the listing's records are not made.
    if (!ReadDiscAt(path, disc, error, options.output != ListOutput::TSV)) return false;
    std::fputs(heading.c_str(), out);
    if (options.output == ListOutput::TSV) {
        PrintIndexRecords(TrackIndexFile{disc.image.data(), disc.image.size()}, out);
        return true;
    }
    if (PrintListedDisc(disc.facts, options, out)) return true;
    error = path + ": out of memory";
    return false;
}

class IndexRecordPrinter : public ScanSink {
public:
    explicit IndexRecordPrinter(FILE* out) : out_(out) {}

    void OnDiscTitle(const char* title) override {
        fprintf(out_, "disc\t1\t%s\n", EscapeTsvField(title).c_str());
        hasDiscLine_ = true;
    }
    void OnTrackFound(uint32_t slot, const TrackReport& r) override {
        WriteDiscLineIfMissing();
        char recorded[RECORDING_TIME_TEXT_SIZE];
        FormatRecordingTime(r.recorded, recorded, sizeof recorded);
        fprintf(out_, "%u\t%u\t%.9g\t%d\t%s\t%s\t%s\t%s\t%s\t%s\n", slot, r.trackNumber,
                double(*r.trackLength), r.bitrate, EscapeTsvField(r.groupName).c_str(),
                EscapeTsvField(r.artist).c_str(), EscapeTsvField(r.album).c_str(),
                EscapeTsvField(r.title).c_str(), EscapeTsvField(r.displayLine).c_str(), recorded);
    }
    // A disc without a title cell still gets its disc record, first.
    void WriteDiscLineIfMissing() {
        if (!hasDiscLine_) {
            fprintf(out_, "disc\t0\t\n");
            hasDiscLine_ = true;
        }
    }

private:
    FILE* out_;
    bool hasDiscLine_ = false;
};

}  // namespace

FormatSettings CsvLengthSettings(const FormatSettings& settings) {
    // Lengths "as shown" come from the formatter's own length tokens.
    FormatSettings lengthOnly = settings;
    for (FormatTable* table : {&lengthOnly.fullFormat, &lengthOnly.groupFormat})
        for (FormatSlot& slot : table->slots) StoreFieldText(slot.token, FORMAT_FIELD_SIZE, "<None>");
    StoreFieldText(lengthOnly.fullFormat.slots[0].token, FORMAT_FIELD_SIZE, "Trk Length");
    StoreFieldText(lengthOnly.groupFormat.slots[0].token, FORMAT_FIELD_SIZE, "Grp Length");
    return lengthOnly;
}

void PrintCsvHeader(const char* extraColumns, FILE* out) {
    std::fprintf(out, "%s%s%s%s", CSV_HEADER, extraColumns ? "," : "", extraColumns ? extraColumns : "", CSV_LINE_END);
}

void PrintCsvRow(const TrackRecord& r, const FormatSettings& lengthOnly, const char* discId, const char* discTitle,
                 FILE* out) {
    const bool isGroup = lengthOnly.listingMode == GROUP_LISTING;
    char shown[FORMAT_LINE_SIZE];
    FormatRecordLine(r, lengthOnly, shown, sizeof shown);
    char recorded[RECORDING_TIME_TEXT_SIZE];
    FormatRecordingTime(isGroup ? NO_RECORDING_TIME : r.recorded, recorded, sizeof recorded);
    // A group line shows the group alone: its number, name and length.
    const char* empty = "";
    std::string row;
    AppendCsvRow({isGroup ? r.groupNumber : r.trackNumber, r.groupName, isGroup ? empty : r.artist,
                  isGroup ? empty : r.album, isGroup ? empty : r.title,
                  double(isGroup ? r.groupLength : r.trackLength), shown,
                  isGroup ? empty : RecordingModeName(int32_t(r.bitrate)), recorded, discId, discTitle},
                 row);
    std::fwrite(row.data(), 1, row.size(), out);
}

bool ReadDiscAt(const std::string& path, ReadDisc& disc, std::string& error, bool isWalked) {
    if (!ResolveIndexPath(PathOf(path), disc.index, error)) return false;
    if (!ReadIndexImage(disc.index, disc.image)) {
        error = TextOf(disc.index) + ": cannot read the file";
        return false;
    }
    disc.facts.identity = ReadDiscIdentityBeside(disc.index);
    disc.facts.indexName = ListedName(disc.index);
    ClearCatalogue();
    if (!isWalked) return true;
    // Room for the disc's tracks at once: a full disc's records are never
    // copied into a larger storage on the way, nor is storage made that
    // no track uses. Without it the fill still grows the storage itself.
    const TrackIndexFile file{disc.image.data(), disc.image.size()};
    ReserveCatalogue(CountWalkedTracks(file));
    CatalogueFiller filler;
    std::atomic<int32_t> stop{0};
    WalkTrackIndex(file, stop, filler);
    disc.facts.title = filler.title;
    disc.facts.hasTitle = filler.hasTitle;
    return true;
}

bool PrintListedDisc(const DiscFacts& disc, const ListOptions& options, FILE* out) {
    if (options.output == ListOutput::INFO) return PrintInfo(disc.title, disc.identity, disc.indexName, gFormatSettings, out);
    ComposedListing listing;
    if (!ComposeSortedListing(gCatalogue, gFormatSettings.listingMode, CompareTracks, listing)) return false;
    switch (options.output) {
    case ListOutput::LINES:
        if (disc.hasTitle) WriteLine(disc.title.data(), disc.title.size(), out);
        for (uint32_t i = 0; i < listing.count; ++i)
            WriteLine(listing.lines[i].text, std::strlen(listing.lines[i].text), out);
        break;
    case ListOutput::CSV: PrintCsv(listing, gFormatSettings, disc.identity, out); break;
    case ListOutput::LAYOUT:
        // Export List's file: each line's rendering, nothing added.
        for (uint32_t i = 0; i < listing.count; ++i) {
            char line[FORMAT_LINE_SIZE];
            std::fwrite(line, 1, FormatLine(listing.lines[i].itemData, line, sizeof line), out);
        }
        break;
    case ListOutput::TSV:
    case ListOutput::INFO: break;
    }
    ReleaseListing(listing);
    return true;
}

bool ParseListOptions(const std::vector<std::string>& args, ListOptions& options, std::string& error) {
    options = ListOptions{};
    // --help and --version answer whatever else the line holds.
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            options.isHelp = true;
            return true;
        }
        if (arg == "--version") {
            options.isVersion = true;
            return true;
        }
    }
    bool hasOutput = false, hasListingChoice = false, isEndOfOptions = false;
    auto setOutput = [&](ListOutput output) {
        if (hasOutput && options.output != output) {
            error = "choose one of --csv, --info, --layout and --tsv";
            return false;
        }
        hasOutput = true;
        options.output = output;
        return true;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (isEndOfOptions || arg.size() < 2 || arg[0] != '-') {
            options.paths.push_back(arg);
            continue;
        }
        if (arg == "--") {
            isEndOfOptions = true;
            continue;
        }
        // --name VALUE or --name=VALUE for the options that take a value.
        std::string name = arg, value;
        bool hasValue = false;
        const size_t equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            hasValue = true;
        }
        const bool takesValue = name == "--sort" || name == "--case" || name == "--layout" || name == "--find" ||
                                name == "--disc" || name == "--remove" || name == "--catalogue";
        if (takesValue && !hasValue) {
            if (i + 1 == args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
        } else if (!takesValue && hasValue) {
            error = name + " takes no value";
            return false;
        }
        if (name == "--group") {
            options.mode = GROUP_LISTING;
            hasListingChoice = true;
        } else if (name == "--sort") {
            if (!ParseSortKeys(value, options.levels, error)) return false;
            hasListingChoice = true;
        } else if (name == "--case") {
            if (!ParseCaseLevels(value, options.levels, error)) return false;
            hasListingChoice = true;
        } else if (name == "--no-round") {
            options.roundLengths = 0;
            hasListingChoice = true;
        } else if (name == "--csv") {
            if (!setOutput(ListOutput::CSV)) return false;
        } else if (name == "--tsv") {
            if (!setOutput(ListOutput::TSV)) return false;
        } else if (name == "--info") {
            if (!setOutput(ListOutput::INFO)) return false;
        } else if (name == "--layout") {
            if (!setOutput(ListOutput::LAYOUT)) return false;
            options.layoutPath = value;
        } else if (name == "--add" || name == "--find" || name == "--discs" || name == "--disc" ||
                   name == "--remove") {
            const CatalogueCommand command = name == "--add"     ? CatalogueCommand::ADD
                                             : name == "--find"  ? CatalogueCommand::FIND
                                             : name == "--discs" ? CatalogueCommand::DISCS
                                             : name == "--disc"  ? CatalogueCommand::DISC
                                                                 : CatalogueCommand::REMOVE;
            if (options.command != CatalogueCommand::NONE) {
                error = "choose one of --add, --find, --discs, --disc and --remove";
                return false;
            }
            options.command = command;
            options.commandValue = value;
        } else if (name == "--catalogue") {
            options.cataloguePath = value;
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    if (options.output == ListOutput::TSV && hasListingChoice) {
        error =
            "--tsv lists the index's records in file order; it takes no --group, --sort, --case or "
            "--no-round";
        return false;
    }
    const CatalogueCommand command = options.command;
    if (command == CatalogueCommand::NONE || command == CatalogueCommand::ADD) {
        if (options.paths.empty()) {
            error = "no PATH given";
            return false;
        }
    } else if (!options.paths.empty()) {
        error = "--find, --discs, --disc and --remove take no PATH";
        return false;
    }
    // A stored disc keeps its listing's records, not the index file whose
    // records --tsv prints as they are (with texts longer than a listing keeps).
    if (command == CatalogueCommand::DISC && options.output == ListOutput::TSV) {
        error = "--tsv prints an index file's own records, which a stored disc does not keep; list the recorder";
        return false;
    }
    const bool isTable = options.output == ListOutput::LINES || options.output == ListOutput::CSV;
    if ((command == CatalogueCommand::FIND || command == CatalogueCommand::DISCS) &&
        (!isTable || hasListingChoice)) {
        error = "--find and --discs take only --csv and --catalogue";
        return false;
    }
    if ((command == CatalogueCommand::ADD || command == CatalogueCommand::REMOVE) &&
        (hasOutput || hasListingChoice)) {
        error = "--add and --remove take only --catalogue";
        return false;
    }
    if (command == CatalogueCommand::NONE && !options.cataloguePath.empty()) {
        error = "--catalogue goes with --add, --find, --discs, --disc or --remove";
        return false;
    }
    return true;
}

int RunList(const std::vector<std::string>& args, FILE* out, FILE* err, const char* appData) {
    ListOptions options;
    std::string error;
    if (!ParseListOptions(args, options, error)) {
        std::fprintf(err, "tavolin-list: %s\nTry 'tavolin-list --help' for more.\n", error.c_str());
        return LIST_USAGE;
    }
    if (options.isHelp || options.isVersion) {
        if (options.isHelp)
            std::fputs(HELP_TEXT, out);
        else
            std::fputs("tavolin-list " TAVOLIN_VERSION "\n", out);
        return std::fflush(out) == 0 ? LIST_OK : LIST_FAILED;
    }
    SetFormatDefaults(gFormatSettings);
    gFormatSettings.listingMode = options.mode;
    std::copy(options.levels, options.levels + 3, gFormatSettings.sortLevels);
    gFormatSettings.roundLengths = options.roundLengths;
    if (options.output == ListOutput::LAYOUT && !ReadLayoutFile(options.layoutPath, gFormatSettings, error)) {
        std::fprintf(err, "tavolin-list: %s\n", error.c_str());
        return LIST_FAILED;
    }
    if (options.command != CatalogueCommand::NONE) return RunCatalogueCommand(options, out, err, appData);

    // With several paths each listed disc follows a line naming it, and a
    // blank line separates it from the one before; a path that can't be
    // read gets neither.
    int status = LIST_OK;
    bool isFirst = true;
    for (const std::string& path : options.paths) {
        const std::string heading =
            options.paths.size() > 1 ? std::string(isFirst ? "" : "\n") + "==> " + path + " <==\n" : "";
        if (ListDisc(path, heading, options, out, error)) {
            isFirst = false;
        } else {
            std::fflush(out);
            std::fprintf(err, "tavolin-list: %s\n", error.c_str());
            status = LIST_FAILED;
        }
    }
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fprintf(err, "tavolin-list: could not write the listing\n");
        status = LIST_FAILED;
    }
    return status;
}

bool ResolveIndexPath(const fs::path& path, fs::path& index, std::string& error) {
    NativeFolderAccess access;
    std::string found;
    const std::string named = TextOf(path);
    switch (FindCopyIndex(access, named, found)) {
    case CopyIndexResult::FOUND: index = PathOf(found); return true;
    case CopyIndexResult::NO_SUCH_PATH: error = named + ": no such file or folder"; break;
    case CopyIndexResult::UNREADABLE_FILE: error = named + ": cannot read the file"; break;
    case CopyIndexResult::NO_INDEX_FOLDER:
        error = named + ": not a recorder (no " + INDEX_DIRECTORY + " folder)";
        break;
    case CopyIndexResult::NO_MARKER:
        error =
            named + ": not a recorder (no marker file " + INDEX_DIRECTORY + "/" + RecorderMarkerName() + ")";
        break;
    case CopyIndexResult::NO_INDEX_FILE: error = named + ": no track index file in " + INDEX_DIRECTORY; break;
    }
    return false;
}

DiscIdentity ReadDiscIdentityBeside(const fs::path& index) {
    NativeFolderAccess access;
    std::string list;
    uint8_t bytes[DISC_LIST_READ_SIZE] = {};
    size_t got = 0;
    if (FindDiscListFile(access, TextOf(index), list)) {
        std::ifstream in(PathOf(list), std::ios::binary);
        if (in) {
            in.read(reinterpret_cast<char*>(bytes), sizeof bytes);
            got = size_t(in.gcount());
        }
    }
    return ReadDiscIdentity(bytes, got);
}

namespace {
// The index file through a stream: its size from the end's position.
class StreamSource : public IndexFileSource {
public:
    explicit StreamSource(std::ifstream& in) : in_(in) {}

    bool Size(uint64_t& size) override {
        in_.seekg(0, std::ios::end);
        const std::streamoff end = in_.tellg();
        in_.seekg(0, std::ios::beg);
        if (end < 0) return false;
        size = uint64_t(end);
        return true;
    }

    bool Read(uint8_t* bytes, size_t n, size_t& got) override {
        in_.read(reinterpret_cast<char*>(bytes), std::streamsize(n));
        got = size_t(in_.gcount());
        return true;
    }

private:
    std::ifstream& in_;
};
}  // namespace

// Like the scan, read no more than the decoder can reach: a huge file gives
// the same listing without taking its size in memory. Only a whole read
// lists: a file that ends early or fails is reported.
bool ReadIndexImage(const fs::path& path, std::vector<uint8_t>& image) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    StreamSource source(in);
    return ReadIndexImage(source, INDEX_READ_LIMIT, INDEX_IMAGE_PADDING, image) == IndexReadResult::WHOLE;
}

void PrintIndexRecords(const TrackIndexFile& file, FILE* out) {
    std::atomic<int32_t> stop{0};
    IndexRecordPrinter printer(out);
    WalkTrackIndex(file, stop, printer);
    printer.WriteDiscLineIfMissing();
}

std::string EscapeTsvField(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        switch (*p) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += *p;
        }
    }
    return out;
}

