#include "catalogue/catalogue.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <initializer_list>
#include <string_view>
#include <system_error>
#include <thread>

#include "catalogue/sqlite_db.h"
#include "catalogue/sqlite_fold.h"
#include "text/fields.h"
#include "text/utf8.h"

namespace {

// The schema of version 3. The search tables index the tracks' and discs'
// own columns (external content), so texts are stored once. They are kept
// in step by the statements that change those rows, not by triggers: with
// trusted_schema off (a catalogue file is hostile input, its schema is not
// trusted) full-text tables cannot be used inside triggers.
const char* const SCHEMA_SQL = R"SQL(
CREATE TABLE discs(
  id INTEGER PRIMARY KEY,
  key TEXT NOT NULL UNIQUE,
  keyIsDerived INTEGER NOT NULL,
  title TEXT NOT NULL,
  indexGeneration INTEGER NOT NULL,
  source TEXT NOT NULL,
  firstAdded TEXT NOT NULL,
  lastUpdated TEXT NOT NULL,
  trackCount INTEGER NOT NULL,
  groupCount INTEGER NOT NULL,
  totalLength REAL NOT NULL,
  contentHash TEXT NOT NULL,
  indexName TEXT NOT NULL DEFAULT '',
  hasTitle INTEGER NOT NULL DEFAULT 1
) STRICT;
CREATE TABLE tracks(
  id INTEGER PRIMARY KEY,
  disc INTEGER NOT NULL REFERENCES discs(id),
  position INTEGER NOT NULL,
  slot INTEGER NOT NULL,
  trackNumber INTEGER NOT NULL,
  displayLine TEXT NOT NULL,
  groupName TEXT NOT NULL,
  artist TEXT NOT NULL,
  album TEXT NOT NULL,
  title TEXT NOT NULL,
  length REAL NOT NULL,
  bitrate INTEGER NOT NULL,
  recorded INTEGER NOT NULL,
  folded BLOB NOT NULL DEFAULT x''
) STRICT;
CREATE INDEX tracks_by_disc ON tracks(disc, position);
CREATE INDEX discs_by_title ON discs(title, id);
CREATE VIRTUAL TABLE track_search USING fts5(groupName, artist, album, title,
  content='tracks', content_rowid='id', tokenize='trigram case_sensitive 0');
CREATE VIRTUAL TABLE disc_search USING fts5(title,
  content='discs', content_rowid='id', tokenize='trigram case_sensitive 0');
)SQL";

// tracks.folded holds the track's group, artist, album and title folded as a
// search folds, each followed by FOLDED_END, a byte no UTF-8 text holds, so
// a search too short for trigrams is one byte search per track and never
// matches across two texts.
constexpr char FOLDED_END = '\xFF';

// The schema's objects that a file must have to be read as a catalogue.
constexpr int64_t SCHEMA_OBJECT_COUNT = 4;
constexpr int64_t CATALOGUE_DISCS_MAX = 1000000;  // the most discs listed at once
constexpr int64_t FIND_ALL = -1;                  // SQLite's LIMIT for no limit
constexpr const char* FOLD_FUNCTION = "tavolin_fold";
constexpr const char* HOLDS_FUNCTION = "tavolin_holds";
constexpr size_t NOW_TEXT_SIZE = 21;
constexpr int EMPTY_FILE_WAIT_MS = 1000;  // an empty file may be a catalogue being made
constexpr int EMPTY_FILE_POLL_MS = 10;  // "YYYY-MM-DDTHH:MM:SSZ" and the terminator

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The user's words for what SQLite reports, then SQLite's own text.
std::string Failure(const std::string& path, const char* what, const SqliteDb& db) {
    const int code = db.ErrorCode() & 0xff;
    const char* why = nullptr;
    switch (code) {
    case 5:  // SQLITE_BUSY
    case 6:  // SQLITE_LOCKED
        why = "it is in use by another program; try again when that program is done";
        break;
    case 13: why = "the disk is full"; break;         // SQLITE_FULL
    case 8: why = "the file is read-only"; break;     // SQLITE_READONLY
    case 11:                                          // SQLITE_CORRUPT
    case 26: why = "the file is damaged or is not a catalogue"; break;  // SQLITE_NOTADB
    case 14: why = "the file cannot be opened"; break;  // SQLITE_CANTOPEN
    case 10:  // SQLITE_IOERR
        // A medium that fills up fails a write with ENOSPC only on some
        // systems: past a file-size limit (EFBIG), and under Wine, the write
        // fails as any I/O error, not SQLITE_FULL.
        why = db.ErrorCode() == 778 || db.ErrorCode() == 1034 || db.ErrorCode() == 1546  // WRITE, FSYNC, TRUNCATE
                  ? "the file cannot be written; the disk may be full"
                  : "the file cannot be read or written";
        break;
    default: break;
    }
    std::string message = "Catalogue " + Quoted(path) + ": " + what;
    if (why) message += std::string(": ") + why;
    if (!db.Error().empty()) message += " (" + db.Error() + ")";
    return message;
}

std::string Refusal(const std::string& path, const char* why) {
    return "Catalogue " + Quoted(path) + ": " + why + "; it was left as it is";
}

std::filesystem::path FsPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

std::string FoldText(const char* text, size_t n) { return FoldSearchText(text, n); }

// The settings each connection needs: defensive (the file's own SQL may not
// write the schema), functions in triggers and views limited to harmless
// ones, a wait for other writers.
bool Configure(SqliteDb& db, const CatalogueOptions& options) {
    db.SetBusyTimeout(options.busyTimeoutMs);
    // Memory-mapped reads: a scan of every track (a search of one or two
    // characters) then reads pages in place instead of copying each one.
    // Where mapping is not used (Wine was measured 20 times slower on such
    // scans), a page cache that holds a catalogue of thousands of discs
    // keeps the scans from reading the file again at each keystroke.
    return db.Exec("PRAGMA trusted_schema = OFF") && db.Exec("PRAGMA mmap_size = 268435456") &&
           db.Exec("PRAGMA cache_size = -65536") &&
           db.AddTextFunction(FOLD_FUNCTION, FoldText) && db.AddHoldsFunction(HOLDS_FUNCTION);
}

enum class FileKind { CATALOGUE, FRESH, FOREIGN, NEWER, UNREADABLE };

// What an open file is, read without writing: SQLite reads its header at
// the first statement, so a file that is no database fails here.
FileKind CheckFile(SqliteDb& db, int* schemaVersion = nullptr) {
    Statement id(db, "PRAGMA application_id");
    if (id.Step() != StepResult::ROW) return FileKind::UNREADABLE;
    const int64_t applicationId = id.Int(0);
    Statement version(db, "PRAGMA user_version");
    if (version.Step() != StepResult::ROW) return FileKind::UNREADABLE;
    const int64_t userVersion = version.Int(0);
    if (schemaVersion) *schemaVersion = int(userVersion);
    Statement objects(db, "SELECT count(*) FROM sqlite_schema");
    if (objects.Step() != StepResult::ROW) return FileKind::UNREADABLE;
    if (applicationId == 0 && userVersion == 0 && objects.Int(0) == 0) return FileKind::FRESH;
    if (applicationId != CATALOGUE_APPLICATION_ID) return FileKind::FOREIGN;
    if (userVersion > CATALOGUE_SCHEMA_VERSION) return FileKind::NEWER;
    if (userVersion < 1) return FileKind::FOREIGN;
    Statement ours(db,
                   "SELECT count(*) FROM sqlite_schema WHERE type IN ('table') AND name IN "
                   "('discs', 'tracks', 'track_search', 'disc_search')");
    if (ours.Step() != StepResult::ROW) return FileKind::UNREADABLE;
    return ours.Int(0) == SCHEMA_OBJECT_COUNT ? FileKind::CATALOGUE : FileKind::FOREIGN;
}

// A refusal for the kinds that are not a catalogue to use; "" otherwise.
std::string KindRefusal(const std::string& path, FileKind kind, SqliteDb& db) {
    switch (kind) {
    case FileKind::FOREIGN: return Refusal(path, "this SQLite file is not a Tavolin catalogue");
    case FileKind::NEWER:
        return Refusal(path, "it was written by a newer Tavolin (a newer catalogue version); use that version");
    case FileKind::UNREADABLE:
        if ((db.ErrorCode() & 0xff) == 26 || (db.ErrorCode() & 0xff) == 11)
            return Refusal(path, ("it is not a Tavolin catalogue or it is damaged (" + db.Error() + ")").c_str());
        return Failure(path, "cannot read it", db);
    default: return "";
    }
}

std::string FoldedTexts(std::initializer_list<std::string_view> texts) {
    std::string folded;
    for (std::string_view text : texts) {
        folded += FoldSearchText(text.data(), text.size());
        folded += FOLDED_END;
    }
    return folded;
}

// Version 1 had no folded texts and no index names: each stored track gets
// its folded texts (the names stay unknown, "").
bool MigrateFromVersion1(SqliteDb& db) {
    if (!db.Exec("ALTER TABLE tracks ADD COLUMN folded BLOB NOT NULL DEFAULT x''; "
                 "ALTER TABLE discs ADD COLUMN indexName TEXT NOT NULL DEFAULT ''; "
                 "CREATE INDEX IF NOT EXISTS discs_by_title ON discs(title, id)"))
        return false;
    Statement rows(db, "SELECT id, groupName, artist, album, title FROM tracks");
    Statement fold(db, "UPDATE tracks SET folded = ?2 WHERE id = ?1");
    for (;;) {  // ends with the rows
        const StepResult r = rows.Step();
        if (r == StepResult::DONE) break;
        if (r == StepResult::FAILED) return false;
        size_t n[4];
        const char* texts[4];
        for (int i = 0; i < 4; ++i) texts[i] = rows.Text(i + 1, &n[i]);
        const std::string folded = FoldedTexts({{texts[0], n[0]}, {texts[1], n[1]}, {texts[2], n[2]}, {texts[3], n[3]}});
        if (!fold.Reset().Bind(1, rows.Int(0)).BindBlob(2, folded).Run()) return false;
    }
    return true;
}

// Version 2 did not keep whether a disc has a title cell. A disc with a
// title has one; one stored with an empty title is taken to have none, as
// version 2 listed it, until it is added again.
bool MigrateFromVersion2(SqliteDb& db) {
    return db.Exec("ALTER TABLE discs ADD COLUMN hasTitle INTEGER NOT NULL DEFAULT 1; "
                   "UPDATE discs SET hasTitle = 0 WHERE title = ''");
}

// Brings an older file to this version, step by step, in the transaction
// that checked the file, so no other program sees half of it.
bool Migrate(SqliteDb& db, int fromVersion) {
    if (fromVersion < 2 && !MigrateFromVersion1(db)) return false;
    if (fromVersion < 3 && !MigrateFromVersion2(db)) return false;
    return db.Exec(("PRAGMA user_version = " + std::to_string(CATALOGUE_SCHEMA_VERSION)).c_str());
}

bool CreateSchema(SqliteDb& db) {
    const std::string marks = "PRAGMA application_id = " + std::to_string(CATALOGUE_APPLICATION_ID) +
                              "; PRAGMA user_version = " + std::to_string(CATALOGUE_SCHEMA_VERSION) + ";";
    return db.Exec(SCHEMA_SQL) && db.Exec(marks.c_str());
}

// Makes the file fit for writing: the schema of a fresh file, made in one
// transaction (two programs creating the file at once make it once); then
// WAL, so readers and one writer share it, and NORMAL syncing, which WAL
// makes safe against a crash. The schema goes in before WAL: in WAL a
// commit stays in the -wal file, and the catalogue itself would look empty
// to another program until a checkpoint, which may be long.
std::string PrepareForWriting(const std::string& path, SqliteDb& db, const CatalogueOptions& options,
                              int& schemaVersion) {
    if (!db.Exec("PRAGMA foreign_keys = ON")) return Failure(path, "cannot prepare it for writing", db);
    if (options.maxPageCount > 0) {
        const std::string limit = "PRAGMA max_page_count = " + std::to_string(options.maxPageCount);
        if (!db.Exec(limit.c_str())) return Failure(path, "cannot prepare it for writing", db);
    }
    Transaction tx(db);
    if (!tx.IsActive()) return Failure(path, "cannot prepare it for writing", db);
    const FileKind kind = CheckFile(db, &schemaVersion);
    if (kind == FileKind::FRESH) {
        if (!CreateSchema(db)) return Failure(path, "cannot create the catalogue", db);
    } else if (kind != FileKind::CATALOGUE) {
        return KindRefusal(path, kind, db);
    } else if (schemaVersion < CATALOGUE_SCHEMA_VERSION && !Migrate(db, schemaVersion)) {
        return Failure(path, "cannot bring it up to this version", db);
    }
    schemaVersion = CATALOGUE_SCHEMA_VERSION;
    if (!tx.Commit()) return Failure(path, "cannot create the catalogue", db);
    // A file already in WAL keeps it; while another program reads a fresh
    // one the switch waits for a later opening, and the file still works.
    if (!db.Exec("PRAGMA journal_mode = WAL") || !db.Exec("PRAGMA synchronous = NORMAL"))
        return Failure(path, "cannot prepare it for writing", db);
    return "";
}

// The UTC time now as "YYYY-MM-DDTHH:MM:SSZ".
void FormatNow(char out[NOW_TEXT_SIZE]) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    std::strftime(out, NOW_TEXT_SIZE, "%Y-%m-%dT%H:%M:%SZ", &utc);
}

size_t FieldLength(const char* field, size_t size) { return strnlen(field, size); }

void HashField(Hash128& h, const void* bytes, size_t n) {
    const uint64_t size = n;
    h = HashBytes(&size, sizeof size, h);
    h = HashBytes(bytes, n, h);
}

void HashText(Hash128& h, const char* text, size_t limit) { HashField(h, text, FieldLength(text, limit)); }

bool HasTitle(const StoredDiscInfo& info) { return info.hasTitleCell || (info.title && info.title[0] != '\0'); }
bool IsEmptyTitleCell(const StoredDiscInfo& info) { return HasTitle(info) && !(info.title && info.title[0] != '\0'); }

// The hash of everything a stored disc lists: the same contents again hash
// the same. Where it was read from and when are not contents.
std::string ContentHash(const StoredDiscInfo& info, const TrackRecord* tracks, size_t n) {
    Hash128 h = HashStart();
    HashText(h, info.title ? info.title : "", SIZE_MAX);
    // Only an empty title cell adds to the hash, so every other disc keeps
    // the hash it was stored with.
    if (IsEmptyTitleCell(info)) HashField(h, "\1", 1);
    HashField(h, &info.indexGeneration, sizeof info.indexGeneration);
    HashField(h, &info.groupCount, sizeof info.groupCount);
    for (size_t i = 0; i < n; ++i) {
        const TrackRecord& t = tracks[i];
        HashText(h, t.displayLine, sizeof t.displayLine);
        HashText(h, t.groupName, sizeof t.groupName);
        HashText(h, t.artist, sizeof t.artist);
        HashText(h, t.album, sizeof t.album);
        HashText(h, t.title, sizeof t.title);
        const uint32_t numbers[] = {t.slot, t.trackNumber, t.bitrate, t.recorded};
        HashField(h, numbers, sizeof numbers);
        HashField(h, &t.trackLength, sizeof t.trackLength);
    }
    char text[DISC_KEY_SIZE];
    FormatHash128(h, text);
    return text;
}

// Bytes from a catalogue row as the program's text: up to the first NUL,
// bytes that are no UTF-8 as U+FFFD (as the decoders give for what has no
// character), and no more input read than the field can show.
std::string ValidText(const char* text, size_t n, size_t sizeLimit) {
    std::string out;
    const size_t end = n < sizeLimit ? n : sizeLimit;
    for (size_t i = 0; i < end && text[i] != '\0';) {
        size_t len = 1;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC0) len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        if (len <= n - i && IsValidUtf8(text + i, len) && std::memchr(text + i, '\0', len) == nullptr) {
            out.append(text + i, len);
            i += len;
        } else if (c < 0x80) {
            out.push_back(char(c));
            ++i;
        } else {
            char replacement[UTF8_MAX_CHAR_BYTES];
            out.append(replacement, EncodeUtf8(REPLACEMENT_CHARACTER, replacement));
            ++i;
        }
    }
    return out;
}

void ReadField(const Statement& s, int column, char* field, size_t size, size_t maxChars) {
    size_t n = 0;
    const char* text = s.Text(column, &n);
    StoreFieldText(field, size, ValidText(text, n, size + UTF8_MAX_CHAR_BYTES).c_str(), maxChars);
}

std::string ReadText(const Statement& s, int column, size_t maxChars) {
    size_t n = 0;
    const char* text = s.Text(column, &n);
    std::string valid = ValidText(text, n, Utf8Size(maxChars) + UTF8_MAX_CHAR_BYTES);
    valid.resize(Utf8CutLength(valid.data(), valid.size(), Utf8Size(maxChars) - 1, maxChars));
    return valid;
}

// A whole number of a row as the field's type; anything out of its range
// (or of another type that reads as such) is 0.
uint32_t ReadCount(const Statement& s, int column) {
    const int64_t v = s.Int(column);
    return v >= 0 && v <= int64_t(UINT32_MAX) ? uint32_t(v) : 0;
}

float ReadLength(const Statement& s, int column) {
    const double v = s.Real(column);
    return std::isfinite(v) && std::fabs(v) <= double(FLT_MAX) ? float(v) : 0.0f;
}

// The track columns every read selects, in this order, after any others.
constexpr const char* TRACK_COLUMNS =
    "t.slot, t.trackNumber, t.displayLine, t.groupName, t.artist, t.album, t.title, t.length, t.bitrate, "
    "t.recorded";

void ReadTrack(const Statement& s, int first, TrackRecord& r) {
    std::memset(&r, 0, sizeof r);
    r.slot = ReadCount(s, first);
    r.trackNumber = ReadCount(s, first + 1);
    ReadField(s, first + 2, r.displayLine, sizeof r.displayLine, DISPLAY_LINE_CHARS);
    ReadField(s, first + 3, r.groupName, sizeof r.groupName, TRACK_TEXT_CHARS);
    ReadField(s, first + 4, r.artist, sizeof r.artist, TRACK_TEXT_CHARS);
    ReadField(s, first + 5, r.album, sizeof r.album, TRACK_TEXT_CHARS);
    ReadField(s, first + 6, r.title, sizeof r.title, TRACK_TEXT_CHARS);
    r.trackLength = ReadLength(s, first + 7);
    r.bitrate = ReadCount(s, first + 8);
    r.recorded = ReadCount(s, first + 9);
}

bool Writable(Catalogue& c, std::string& message) {
    if (c.Db() && !c.Db()->IsReadOnly()) return true;
    message = Refusal(c.Path(), "it is open for reading only");
    return false;
}

CatalogueStatus Ok() { return {true, ""}; }

// Takes the disc's tracks out of the search index (with the texts it
// indexed, as external-content tables need) and then out of the file.
bool RemoveTracks(SqliteDb& db, int64_t discId) {
    auto unindex = db.Cached(
                      "INSERT INTO track_search(track_search, rowid, groupName, artist, album, title) "
                      "SELECT 'delete', id, groupName, artist, album, title FROM tracks WHERE disc = ?1");
    auto remove = db.Cached("DELETE FROM tracks WHERE disc = ?1");
    unindex->Bind(1, discId);
    remove->Bind(1, discId);
    return unindex->Run() && remove->Run();
}

}  // namespace

struct CatalogueOpener {
    static void Set(Catalogue& c, const std::string& path, std::unique_ptr<SqliteDb> db,
                    int schemaVersion = CATALOGUE_SCHEMA_VERSION) {
        c.path_ = path;
        c.db_ = std::move(db);
        c.schemaVersion_ = schemaVersion;
    }
};

Catalogue::Catalogue() = default;
Catalogue::~Catalogue() = default;
Catalogue::Catalogue(Catalogue&&) noexcept = default;
Catalogue& Catalogue::operator=(Catalogue&&) noexcept = default;
bool Catalogue::IsEmpty() const { return !db_; }

CatalogueOpenResult OpenCatalogue(const std::string& path, CatalogueMode mode, Catalogue& out,
                                  const CatalogueOptions& options) {
    CatalogueOpener::Set(out, path, nullptr);
    std::error_code ec;
    const std::filesystem::path file = FsPath(path);
    const bool exists = std::filesystem::exists(file, ec);
    if (ec) return {false, Refusal(path, ("cannot be looked at (" + ec.message() + ")").c_str())};
    auto db = std::make_unique<SqliteDb>();
    if (exists) {
        if (!std::filesystem::is_regular_file(file, ec))
            return {false, Refusal(path, "it is not a file")};
        // SQLite would take an empty file for a fresh database and write
        // one into it; a file that is there but empty was made by someone
        // else, so it is not ours to fill. Another Tavolin creating the
        // catalogue right now has it empty for a moment, so an empty file
        // is given that moment before it is refused.
        auto size = std::filesystem::file_size(file, ec);
        const int waitMs = std::min(options.busyTimeoutMs, EMPTY_FILE_WAIT_MS);
        for (int waited = 0; !ec && size == 0 && waited < waitMs; waited += EMPTY_FILE_POLL_MS) {
            std::this_thread::sleep_for(std::chrono::milliseconds(EMPTY_FILE_POLL_MS));
            size = std::filesystem::file_size(file, ec);
        }
        if (!ec && size == 0) return {false, Refusal(path, "the file is empty, not a Tavolin catalogue")};
        if (!db->Open(path, OpenAccess::READ_ONLY)) return {false, Failure(path, "cannot open it", *db)};
        db->SetBusyTimeout(options.busyTimeoutMs);
        int schemaVersion = 0;
        const FileKind kind = CheckFile(*db, &schemaVersion);
        if (kind != FileKind::CATALOGUE) {
            std::string refusal = kind == FileKind::FRESH
                                      ? Refusal(path, "this SQLite file is not a Tavolin catalogue")
                                      : KindRefusal(path, kind, *db);
            return {false, refusal};
        }
        if (mode == CatalogueMode::READ) {
            if (!Configure(*db, options)) return {false, Failure(path, "cannot open it", *db)};
            CatalogueOpener::Set(out, path, std::move(db), schemaVersion);
            return {true, ""};
        }
        db->Close();
        // A file marked read-only (the attribute on Windows) is not written
        // even where the system would let this user write it: as root, or
        // under Wine, which maps the attribute to permissions root ignores.
        using std::filesystem::perms;
        const perms mode = std::filesystem::status(file, ec).permissions();
        if (!ec && (mode & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none)
            return {false, Refusal(path, "the file is read-only")};
        if (!db->Open(path, OpenAccess::READ_WRITE)) return {false, Failure(path, "cannot open it for writing", *db)};
        if (db->IsReadOnly()) return {false, Refusal(path, "the file is read-only")};
    } else {
        if (mode == CatalogueMode::READ) return {true, ""};
        const std::filesystem::path folder = file.parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder, ec);
        if (ec) return {false, Refusal(path, ("its folder cannot be made (" + ec.message() + ")").c_str())};
        if (!db->Open(path, OpenAccess::CREATE)) return {false, Failure(path, "cannot create it", *db)};
    }
    if (!Configure(*db, options)) return {false, Failure(path, "cannot open it", *db)};
    int schemaVersion = 0;
    const std::string problem = PrepareForWriting(path, *db, options, schemaVersion);
    if (!problem.empty()) return {false, problem};
    CatalogueOpener::Set(out, path, std::move(db), schemaVersion);
    return {true, ""};
}

AddOutcome AddDisc(Catalogue& c, const StoredDiscInfo& info, const TrackRecord* tracks, size_t n) {
    std::string message;
    if (!Writable(c, message)) return {AddResult::FAILED, 0, message};
    if (!IsDiscKey(info.key))
        return {AddResult::FAILED, 0, Refusal(c.Path(), "the disc's key is not 32 lower-case hexadecimal digits")};
    if (n > CATALOGUE_DISC_TRACKS_MAX || (n && !tracks))
        return {AddResult::FAILED, 0, Refusal(c.Path(), "the disc has more tracks than a disc holds")};
    SqliteDb& db = *c.Db();
    const std::string hash = ContentHash(info, tracks, n);
    double totalLength = 0;
    for (size_t i = 0; i < n; ++i) totalLength += tracks[i].trackLength;
    char now[NOW_TEXT_SIZE];
    if (info.now) {
        std::strncpy(now, info.now, sizeof now - 1);
        now[sizeof now - 1] = '\0';
    } else {
        FormatNow(now);
    }

    Transaction tx(db);
    if (!tx.IsActive()) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc", db)};
    auto known = db.Cached("SELECT id, contentHash FROM discs WHERE key = ?1");
    known->Bind(1, info.key);
    const StepResult found = known->Step();
    if (found == StepResult::FAILED) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc", db)};
    int64_t discId = 0;
    AddResult result = AddResult::ADDED;
    if (found == StepResult::ROW) {
        discId = known->Int(0);
        if (known->TextCopy(1) == hash) return {AddResult::UNCHANGED, discId, ""};  // nothing to write
        result = AddResult::UPDATED;
        auto update = db.Cached(
                         "UPDATE discs SET keyIsDerived = ?2, title = ?3, indexGeneration = ?4, source = ?5, "
                         "lastUpdated = ?6, trackCount = ?7, groupCount = ?8, totalLength = ?9, contentHash = ?10, "
                         "indexName = ?11, hasTitle = ?12 WHERE id = ?1");
        update->Bind(1, discId).Bind(2, int64_t(info.isKeyDerived)).Bind(3, info.title ? info.title : "");
        update->Bind(4, int64_t(info.indexGeneration)).Bind(5, info.source ? info.source : "").Bind(6, now);
        update->Bind(7, int64_t(n)).Bind(8, int64_t(info.groupCount)).Bind(9, totalLength).Bind(10, hash);
        update->Bind(11, info.indexName ? info.indexName : "").Bind(12, int64_t(HasTitle(info)));
        auto unindex = db.Cached(
                          "INSERT INTO disc_search(disc_search, rowid, title) "
                          "SELECT 'delete', id, title FROM discs WHERE id = ?1");
        auto reindex = db.Cached("INSERT INTO disc_search(rowid, title) SELECT id, title FROM discs WHERE id = ?1");
        unindex->Bind(1, discId);
        reindex->Bind(1, discId);
        if (!unindex->Run() || !update->Run() || !reindex->Run() || !RemoveTracks(db, discId))
            return {AddResult::FAILED, 0, Failure(c.Path(), "cannot update the disc", db)};
    } else {
        auto insert = db.Cached(
                         "INSERT INTO discs(key, keyIsDerived, title, indexGeneration, source, firstAdded, "
                         "lastUpdated, trackCount, groupCount, totalLength, contentHash, indexName, hasTitle) "
                         "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?6, ?7, ?8, ?9, ?10, ?11, ?12) RETURNING id");
        insert->Bind(1, info.key).Bind(2, int64_t(info.isKeyDerived)).Bind(3, info.title ? info.title : "");
        insert->Bind(4, int64_t(info.indexGeneration)).Bind(5, info.source ? info.source : "").Bind(6, now);
        insert->Bind(7, int64_t(n)).Bind(8, int64_t(info.groupCount)).Bind(9, totalLength).Bind(10, hash);
        insert->Bind(11, info.indexName ? info.indexName : "").Bind(12, int64_t(HasTitle(info)));
        if (insert->Step() != StepResult::ROW) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc", db)};
        discId = insert->Int(0);
        if (insert->Step() != StepResult::DONE) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc", db)};
        auto index = db.Cached("INSERT INTO disc_search(rowid, title) VALUES (?1, ?2)");
        index->Bind(1, discId).Bind(2, info.title ? info.title : "");
        if (!index->Run()) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc", db)};
    }
    auto add = db.Cached(
                  "INSERT INTO tracks(disc, position, slot, trackNumber, displayLine, groupName, artist, album, "
                  "title, length, bitrate, recorded, folded) "
                  "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)");
    for (size_t i = 0; i < n; ++i) {
        const TrackRecord& t = tracks[i];
        auto text = [](const char* field, size_t size) { return std::string(field, FieldLength(field, size)); };
        add->Reset().Bind(1, discId).Bind(2, int64_t(i)).Bind(3, int64_t(t.slot)).Bind(4, int64_t(t.trackNumber));
        add->Bind(5, text(t.displayLine, sizeof t.displayLine)).Bind(6, text(t.groupName, sizeof t.groupName));
        add->Bind(7, text(t.artist, sizeof t.artist)).Bind(8, text(t.album, sizeof t.album));
        // The float widens to a double without loss, so it reads back as the same float.
        add->Bind(9, text(t.title, sizeof t.title)).Bind(10, double(t.trackLength));
        add->Bind(11, int64_t(t.bitrate)).Bind(12, int64_t(t.recorded));
        add->BindBlob(13, FoldedTexts({{t.groupName, FieldLength(t.groupName, sizeof t.groupName)},
                                       {t.artist, FieldLength(t.artist, sizeof t.artist)},
                                       {t.album, FieldLength(t.album, sizeof t.album)},
                                       {t.title, FieldLength(t.title, sizeof t.title)}}));
        if (!add->Run()) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc's tracks", db)};
    }
    auto index = db.Cached(
                    "INSERT INTO track_search(rowid, groupName, artist, album, title) "
                    "SELECT id, groupName, artist, album, title FROM tracks WHERE disc = ?1");
    index->Bind(1, discId);
    if (!index->Run()) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc's tracks", db)};
    if (!tx.Commit()) return {AddResult::FAILED, 0, Failure(c.Path(), "cannot add the disc", db)};
    return {result, discId, ""};
}

CatalogueStatus RemoveDisc(Catalogue& c, int64_t discId) {
    std::string message;
    if (!Writable(c, message)) return {false, message};
    SqliteDb& db = *c.Db();
    Transaction tx(db);
    if (!tx.IsActive()) return {false, Failure(c.Path(), "cannot remove the disc", db)};
    auto unindex = db.Cached(
                      "INSERT INTO disc_search(disc_search, rowid, title) "
                      "SELECT 'delete', id, title FROM discs WHERE id = ?1");
    auto disc = db.Cached("DELETE FROM discs WHERE id = ?1");
    unindex->Bind(1, discId);
    disc->Bind(1, discId);
    if (!RemoveTracks(db, discId) || !unindex->Run() || !disc->Run())
        return {false, Failure(c.Path(), "cannot remove the disc", db)};
    if (db.Changes() == 0) return {false, "Catalogue " + Quoted(c.Path()) + ": no such disc"};
    if (!tx.Commit()) return {false, Failure(c.Path(), "cannot remove the disc", db)};
    return Ok();
}

namespace {
// A version 1 file, read as it is, has no index names; one of version 1 or
// 2 does not say whether a disc has a title cell.
std::string DiscColumns(const Catalogue& c) {
    return std::string("id, key, keyIsDerived, title, indexGeneration, source, firstAdded, lastUpdated, trackCount, "
                       "groupCount, totalLength, ") +
           (c.SchemaVersion() < 2 ? "''" : "indexName") + ", " +
           (c.SchemaVersion() < 3 ? "title <> ''" : "hasTitle");
}

void ReadDisc(const Statement& s, StoredDisc& d) {
    d.id = s.Int(0);
    d.key = ReadText(s, 1, DISC_KEY_SIZE - 1);
    d.isKeyDerived = s.Int(2) != 0;
    d.title = ReadText(s, 3, TRACK_TEXT_CHARS);
    d.indexGeneration = ReadCount(s, 4);
    d.source = ReadText(s, 5, CATALOGUE_SOURCE_CHARS);
    d.firstAdded = ReadText(s, 6, NOW_TEXT_SIZE - 1);
    d.lastUpdated = ReadText(s, 7, NOW_TEXT_SIZE - 1);
    d.trackCount = ReadCount(s, 8);
    d.groupCount = ReadCount(s, 9);
    const double total = s.Real(10);
    d.totalLength = std::isfinite(total) ? total : 0.0;
    d.indexName = ReadText(s, 11, CATALOGUE_SOURCE_CHARS);
    d.hasTitle = s.Int(12) != 0 || !d.title.empty();
}

// Reads every row of a disc query (bounded: a file may hold any number).
CatalogueStatus ReadDiscs(Catalogue& c, Statement& s, std::vector<StoredDisc>& out, const char* what) {
    for (int64_t i = 0; i < CATALOGUE_DISCS_MAX; ++i) {
        const StepResult r = s.Step();
        if (r == StepResult::DONE) return Ok();
        if (r == StepResult::FAILED) return {false, Failure(c.Path(), what, *c.Db())};
        out.emplace_back();
        ReadDisc(s, out.back());
    }
    return Ok();
}

bool IsHexPrefix(const std::string& text) {
    if (text.size() < DISC_KEY_PREFIX_MIN || text.size() > DISC_KEY_SIZE - 1) return false;
    for (char ch : text)
        if (!std::isxdigit(static_cast<unsigned char>(ch))) return false;
    return true;
}

std::string LowerHex(std::string text) {
    for (char& ch : text) ch = char(FoldCase(static_cast<unsigned char>(ch)));
    return text;
}

// FTS5's query language would read the user's text as operators: as one
// phrase in double quotes (each double quote doubled) it is only text.
std::string PhraseQuery(const std::string& text) {
    std::string q = "\"";
    for (char ch : text) {
        if (ch == '"') q += '"';
        q += ch;
    }
    return q + "\"";
}

// The fewest characters that the trigram index can find.
constexpr size_t TRIGRAM_CHARS = 3;

enum class SearchKind { ALL, INDEX, SCAN };

SearchKind KindOfSearch(const std::string& text) {
    if (text.empty()) return SearchKind::ALL;
    return CountUtf8Chars(text.data(), text.size()) >= TRIGRAM_CHARS ? SearchKind::INDEX : SearchKind::SCAN;
}

// The tracks a search finds (parameters ?1 and ?2). A text of three
// characters or more is found through the trigram indexes; shorter ones
// scan the tracks' folded texts, folded with the same fold as the indexes,
// and the few disc titles. A version 1 file, read as it is, has no folded
// texts, so its tracks' texts are folded as they are scanned.
//
// As a sub-query of track ids, for the index: it starts from the matches.
std::string MatchingTracks(SearchKind kind) {
    if (kind == SearchKind::INDEX)
        return "SELECT rowid AS id FROM track_search WHERE track_search MATCH ?1 "
               "UNION SELECT t.id FROM tracks t WHERE t.disc IN "
               "(SELECT rowid FROM disc_search WHERE disc_search MATCH ?1)";
    return "SELECT id FROM tracks";
}

// As a condition on a track row t, for walks over the tracks.
std::string TrackMatches(SearchKind kind, int schemaVersion) {
    switch (kind) {
    case SearchKind::INDEX:
        return "(t.id IN (SELECT rowid FROM track_search WHERE track_search MATCH ?1) OR t.disc IN "
               "(SELECT rowid FROM disc_search WHERE disc_search MATCH ?1))";
    case SearchKind::SCAN:
        if (schemaVersion < 2)
            return "(instr(tavolin_fold(t.title), ?2) OR instr(tavolin_fold(t.artist), ?2) OR "
                   "instr(tavolin_fold(t.album), ?2) OR instr(tavolin_fold(t.groupName), ?2) OR t.disc IN "
                   "(SELECT id FROM discs WHERE instr(tavolin_fold(title), ?2)))";
        return "(tavolin_holds(t.folded, ?1) OR t.disc IN "
               "(SELECT id FROM discs WHERE instr(tavolin_fold(title), ?2)))";
    default: return "1";
    }
}

// How many tracks match. Through the index: the track matches, and the
// tracks of matching discs that are not among them; the set of track
// matches is built only when some disc title matches.
std::string CountingTracks(SearchKind kind, int schemaVersion) {
    if (kind == SearchKind::INDEX)
        return "SELECT (SELECT count(*) FROM track_search WHERE track_search MATCH ?1) + "
               "(SELECT count(*) FROM tracks t WHERE t.disc IN "
               "(SELECT rowid FROM disc_search WHERE disc_search MATCH ?1) AND t.id NOT IN "
               "(SELECT rowid FROM track_search WHERE track_search MATCH ?1))";
    return "SELECT count(*) FROM tracks t WHERE " + TrackMatches(kind, schemaVersion);
}

// The sort keys of an order, as SQL over tracks t and discs d: the values
// as a track reads back (ReadCount and ReadLength make anything out of
// range 0), texts under NOCASE, which folds A-Z alone and then compares
// bytes, shorter first, as CompareText does.
std::string OrderKeys(int order, bool isDescending) {
    const char* direction = isDescending ? " DESC" : "";
    const auto count = [](const char* column) {
        return std::string("CASE WHEN ") + column + " BETWEEN 0 AND 4294967295 THEN " + column + " ELSE 0 END";
    };
    std::string key;
    switch (order) {
    case ORDER_DISC: key = "d.title COLLATE NOCASE"; break;
    case ORDER_NUMBER: key = count("t.trackNumber"); break;
    case ORDER_ARTIST: key = "t.artist COLLATE NOCASE"; break;
    case ORDER_ALBUM: key = "t.album COLLATE NOCASE"; break;
    case ORDER_TITLE: key = "t.title COLLATE NOCASE"; break;
    case ORDER_LENGTH: key = "CASE WHEN abs(t.length) <= 3.4028234663852886e38 THEN t.length ELSE 0 END"; break;
    case ORDER_MODE: key = count("t.bitrate"); break;
    case ORDER_RECORDED: key = count("t.recorded"); break;
    default: return "d.title, d.id, t.position";
    }
    const std::string d = direction;
    return key + d + ", d.title COLLATE NOCASE" + d + ", d.id" + d + ", " + count("t.trackNumber") + d +
           ", t.position" + d;
}

void BindSearch(Statement& s, SearchKind kind, const std::string& text) {
    if (kind == SearchKind::INDEX) s.Bind(1, PhraseQuery(text));
    if (kind == SearchKind::SCAN) {
        const std::string folded = FoldSearchText(text.data(), text.size());
        // Both blobs, so instr compares bytes. A text holding the end mark
        // is no UTF-8 and finds no track's texts (NULL matches nothing).
        if (folded.find(FOLDED_END) == std::string::npos)
            s.BindBlob(1, folded);
        else
            s.Bind(1, nullptr);
        s.Bind(2, folded);
    }
}
}  // namespace

CatalogueStatus ListDiscs(Catalogue& c, std::vector<StoredDisc>& out) {
    out.clear();
    if (c.IsEmpty()) return Ok();
    Statement s(*c.Db(), ("SELECT " + DiscColumns(c) + " FROM discs ORDER BY title, key").c_str());
    return ReadDiscs(c, s, out, "cannot list the discs");
}

CatalogueStatus FindDisc(Catalogue& c, const std::string& text, StoredDisc& out) {
    const std::string none = "Catalogue " + Quoted(c.Path()) + ": no disc has the key or title \"" + text + "\"";
    if (c.IsEmpty() || text.empty()) return {false, none};
    std::vector<StoredDisc> found;
    const std::string select = "SELECT " + DiscColumns(c) + " FROM discs ";
    Statement byKey(*c.Db(), (select + "WHERE key = ?1").c_str());
    byKey.Bind(1, LowerHex(text));
    CatalogueStatus status = ReadDiscs(c, byKey, found, "cannot look up the disc");
    if (!status.ok) return status;
    if (found.empty()) {
        // A prefix and a title may both name discs; all of them count, so a
        // text that names two discs is never read as either one.
        Statement byPrefix(*c.Db(), (select + "WHERE substr(key, 1, length(?1)) = ?1 UNION " + select +
                                     "WHERE title = ?2 ORDER BY title, key LIMIT 10")
                                        .c_str());
        // "-" is no key's start: a text that is no hexadecimal prefix names titles only.
        byPrefix.Bind(1, IsHexPrefix(text) ? LowerHex(text) : std::string("-")).Bind(2, text);
        status = ReadDiscs(c, byPrefix, found, "cannot look up the disc");
        if (!status.ok) return status;
    }
    if (found.empty()) return {false, none};
    if (found.size() > 1) {
        std::string message =
            "Catalogue " + Quoted(c.Path()) + ": \"" + text + "\" names more than one disc; give more of the key:";
        for (const StoredDisc& d : found) message += "\n  " + d.key + "  " + d.title;
        return {false, message};
    }
    out = found.front();
    return Ok();
}

CatalogueStatus LoadDiscTracks(Catalogue& c, int64_t discId, std::vector<TrackRecord>& out) {
    out.clear();
    if (c.IsEmpty()) return Ok();
    Statement s(*c.Db(), (std::string("SELECT ") + TRACK_COLUMNS +
                          " FROM tracks t WHERE t.disc = ?1 ORDER BY t.position LIMIT ?2")
                             .c_str());
    s.Bind(1, discId).Bind(2, int64_t(CATALOGUE_DISC_TRACKS_MAX));
    for (uint32_t i = 0; i <= CATALOGUE_DISC_TRACKS_MAX; ++i) {
        const StepResult r = s.Step();
        if (r == StepResult::DONE) return Ok();
        if (r == StepResult::FAILED) {
            out.clear();
            return {false, Failure(c.Path(), "cannot read the disc's tracks", *c.Db())};
        }
        out.emplace_back();
        ReadTrack(s, 0, out.back());
    }
    return Ok();
}

CatalogueStatus FindTracks(Catalogue& c, const std::string& text, const FoundTrackSink& sink,
                           const FindRange& range, uint64_t* total) {
    if (total) *total = 0;
    if (c.IsEmpty()) return Ok();
    uint64_t count = range.knownCount;
    if (count == UINT64_MAX) {
        CatalogueStatus counted = CountTracks(c, text, count);
        if (!counted.ok) return counted;
    }
    if (total) *total = count;
    if (count == 0 || range.offset >= count) return Ok();
    const SearchKind kind = KindOfSearch(text);
    auto stored = c.Db()->Cached("SELECT coalesce(sum(trackCount), 0) FROM discs");
    const double tracks = stored->Step() == StepResult::ROW ? stored->Real(0) : 0.0;
    // Two ways to the page. Walking the discs in title order and each
    // disc's tracks in order needs no sort and stops at the page's end, but
    // visits about (offset + limit) * tracks / count tracks; sorting the
    // matches costs about count. A common word walks, a rare one sorts.
    // A column's order has no walk: its matches are sorted.
    const bool isSorted = range.order > ORDER_STORED && range.order < ORDER_COUNT;
    const double wanted = double(range.offset) + double(std::min<uint64_t>(range.limit, count));
    const bool isWalk = !isSorted && wanted * tracks < double(count) * double(count);
    const std::string keys = isSorted ? OrderKeys(range.order, range.isDescending) : OrderKeys(ORDER_STORED, false);
    const std::string order = " ORDER BY " + keys + " LIMIT ?3 OFFSET ?4";
    std::string page;
    if (isWalk)
        page = "SELECT t.id AS id FROM discs d CROSS JOIN tracks t ON t.disc = d.id WHERE " +
               TrackMatches(kind, c.SchemaVersion()) + order;
    else if (kind == SearchKind::INDEX)
        page = "SELECT t.id AS id FROM (" + MatchingTracks(kind) +
               ") m JOIN tracks t ON t.id = m.id JOIN discs d ON d.id = t.disc" + order;
    else
        page = "SELECT t.id AS id FROM tracks t JOIN discs d ON d.id = t.disc WHERE " +
               TrackMatches(kind, c.SchemaVersion()) + order;
    // The page is chosen on the sort keys alone and only its rows are read
    // whole: sorting thousands of matches with all their texts was most of
    // a search's time.
    const std::string sql = "SELECT d.id, d.key, d.title, " + std::string(TRACK_COLUMNS) + " FROM (" + page +
                            ") p JOIN tracks t ON t.id = p.id JOIN discs d ON d.id = t.disc "
                            "ORDER BY " + keys;
    // Not a cached statement: the sink may search again while this one runs.
    Statement s(*c.Db(), sql.c_str());
    BindSearch(s, kind, text);
    const auto limit = range.limit > uint64_t(INT64_MAX) ? FIND_ALL : int64_t(range.limit);
    const auto offset = range.offset > uint64_t(INT64_MAX) ? INT64_MAX : int64_t(range.offset);
    s.Bind(3, limit).Bind(4, offset);
    TrackRecord record;
    for (;;) {  // ends with the rows: the file's own count bounds it, and the sink may stop it
        const StepResult r = s.Step();
        if (r == StepResult::DONE) return Ok();
        if (r == StepResult::FAILED) return {false, Failure(c.Path(), "cannot search the catalogue", *c.Db())};
        ReadTrack(s, 3, record);
        const std::string key = ReadText(s, 1, DISC_KEY_SIZE - 1);
        const std::string title = ReadText(s, 2, TRACK_TEXT_CHARS);
        if (!sink(FoundTrack{s.Int(0), key.c_str(), title.c_str(), record})) return Ok();
    }
}

CatalogueStatus CountTracks(Catalogue& c, const std::string& text, uint64_t& count) {
    count = 0;
    if (c.IsEmpty()) return Ok();
    const SearchKind kind = KindOfSearch(text);
    auto s = c.Db()->Cached(CountingTracks(kind, c.SchemaVersion()));
    BindSearch(*s, kind, text);
    if (s->Step() != StepResult::ROW) return {false, Failure(c.Path(), "cannot search the catalogue", *c.Db())};
    count = uint64_t(s->Int(0) < 0 ? 0 : s->Int(0));
    return Ok();
}

CatalogueStatus CountDiscs(Catalogue& c, uint64_t& count) {
    count = 0;
    if (c.IsEmpty()) return Ok();
    auto s = c.Db()->Cached("SELECT count(*) FROM discs");
    if (s->Step() != StepResult::ROW) return {false, Failure(c.Path(), "cannot count the discs", *c.Db())};
    count = uint64_t(s->Int(0) < 0 ? 0 : s->Int(0));
    return Ok();
}

std::string FoldSearchText(const char* text, size_t n) {
    std::string out;
    out.reserve(n);
    for (size_t i = 0; i < n;) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (len > n - i || (len > 1 && !IsValidUtf8(text + i, len))) len = 1;
        if (len == 1 && c >= 0x80) {  // no character: kept as it is
            out.push_back(char(c));
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? c : len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
        for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        char bytes[UTF8_MAX_CHAR_BYTES];
        out.append(bytes, EncodeUtf8(char32_t(TavolinFoldCodePoint(int(cp))), bytes));
        i += len;
    }
    return out;
}
