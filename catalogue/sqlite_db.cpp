#include "catalogue/sqlite_db.h"

#include <sqlite3.h>

#include <cstring>

SqliteDb::~SqliteDb() { Close(); }

bool SqliteDb::Open(const std::string& path, OpenAccess access) {
    Close();
    int flags = SQLITE_OPEN_READONLY;
    if (access == OpenAccess::READ_WRITE) flags = SQLITE_OPEN_READWRITE;
    if (access == OpenAccess::CREATE) flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    // No URI names: a user's file name is a name, never options. Each
    // connection is used by one thread at a time.
    flags |= SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        NoteError(rc);
        Close();
        return false;
    }
    sqlite3_extended_result_codes(db_, 1);
    errorCode_ = 0;
    error_.clear();
    return true;
}

void SqliteDb::Close() {
    cache_.clear();  // statements first: a connection closes once its statements are gone
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteDb::NoteError(int code) {
    errorCode_ = code;
    error_ = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    // Out of memory leaves errmsg pointing at the code's generic text, which
    // is still right.
    if (error_.empty()) error_ = sqlite3_errstr(code);
}

bool SqliteDb::Exec(const char* sql) {
    if (!db_) return false;
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) NoteError(rc);
    return rc == SQLITE_OK;
}

bool SqliteDb::IsReadOnly() const { return !db_ || sqlite3_db_readonly(db_, "main") == 1; }

int64_t SqliteDb::Changes() const { return db_ ? sqlite3_changes64(db_) : 0; }

void SqliteDb::SetBusyTimeout(int ms) {
    if (db_) sqlite3_busy_timeout(db_, ms);
}

namespace {
void CallTextFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    auto fn = reinterpret_cast<SqliteDb::TextFunction>(sqlite3_user_data(context));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    const std::string result = fn(text, size_t(sqlite3_value_bytes(argv[0])));
    sqlite3_result_text64(context, result.data(), result.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}
bool HoldsBytes(const char* hay, size_t hayN, const char* needle, size_t needleN) {
    if (needleN == 0) return true;
    for (size_t at = 0; needleN <= hayN - at;) {
        const void* first = std::memchr(hay + at, needle[0], hayN - at - needleN + 1);
        if (!first) return false;
        at = size_t(static_cast<const char*>(first) - hay);
        if (std::memcmp(hay + at, needle, needleN) == 0) return true;
        ++at;
    }
    return false;
}

void CallHolds(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    // Blobs as they are; any other value as its text's bytes.
    const auto* hay = static_cast<const char*>(sqlite3_value_blob(argv[0]));
    const size_t hayN = size_t(sqlite3_value_bytes(argv[0]));
    const auto* needle = static_cast<const char*>(sqlite3_value_blob(argv[1]));
    const size_t needleN = size_t(sqlite3_value_bytes(argv[1]));
    sqlite3_result_int(context, needleN == 0 || (hay && needle && hayN >= needleN && HoldsBytes(hay, hayN, needle, needleN)));
}
}  // namespace

bool SqliteDb::AddHoldsFunction(const char* name) {
    const int rc = sqlite3_create_function_v2(db_, name, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                              nullptr, CallHolds, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) NoteError(rc);
    return rc == SQLITE_OK;
}

bool SqliteDb::AddTextFunction(const char* name, TextFunction fn) {
    const int rc = sqlite3_create_function_v2(db_, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                              reinterpret_cast<void*>(fn), CallTextFunction, nullptr, nullptr,
                                              nullptr);
    if (rc != SQLITE_OK) NoteError(rc);
    return rc == SQLITE_OK;
}

Statement::Statement(SqliteDb& db, const char* sql) : db_(db) {
    if (!db.Handle()) return;
    const int rc = sqlite3_prepare_v3(db.Handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        db_.NoteError(rc);
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::Reset() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
    bindFailed_ = false;
    return *this;
}

Statement& Statement::Bind(int index, int64_t value) {
    if (stmt_ && sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) bindFailed_ = true;
    return *this;
}

Statement& Statement::Bind(int index, double value) {
    if (stmt_ && sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) bindFailed_ = true;
    return *this;
}

Statement& Statement::Bind(int index, const char* text) {
    const int rc = !stmt_ ? SQLITE_OK
                   : text ? sqlite3_bind_text(stmt_, index, text, -1, SQLITE_TRANSIENT)
                          : sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK) bindFailed_ = true;
    return *this;
}

StatementLease SqliteDb::Cached(const std::string& sql) {
    std::unique_ptr<Statement>& s = cache_[sql];
    // A statement that failed to prepare is prepared again: the failure may
    // have been passing (a locked schema), and its error is noted each time.
    if (!s || !s->IsReady()) s = std::make_unique<Statement>(*this, sql.c_str());
    return StatementLease(s->Reset());
}

StatementLease::~StatementLease() { s_.Reset(); }

Statement& Statement::BindBlob(int index, const std::string& bytes) {
    if (stmt_ && sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT) != SQLITE_OK)
        bindFailed_ = true;
    return *this;
}

Statement& Statement::Bind(int index, const std::string& text) {
    if (stmt_ && sqlite3_bind_text64(stmt_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) !=
                     SQLITE_OK)
        bindFailed_ = true;
    return *this;
}

StepResult Statement::Step() {
    if (!stmt_) return StepResult::FAILED;
    if (bindFailed_) {
        db_.NoteError(sqlite3_errcode(db_.Handle()));
        return StepResult::FAILED;
    }
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return StepResult::ROW;
    if (rc == SQLITE_DONE) return StepResult::DONE;
    db_.NoteError(rc);
    return StepResult::FAILED;
}

bool Statement::Run() {
    const StepResult r = Step();
    sqlite3_reset(stmt_);
    return r == StepResult::DONE;
}

int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }
double Statement::Real(int column) const { return sqlite3_column_double(stmt_, column); }
bool Statement::IsReal(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_FLOAT; }

const char* Statement::Text(int column, size_t* size) const {
    // A blob is read as its bytes; sqlite3_column_text would convert it
    // anyway, and a NULL gives "".
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    *size = text ? size_t(sqlite3_column_bytes(stmt_, column)) : 0;
    return text ? text : "";
}

std::string Statement::TextCopy(int column) const {
    size_t n = 0;
    const char* text = Text(column, &n);
    return std::string(text, n);
}

Transaction::Transaction(SqliteDb& db) : db_(db) { isActive_ = db_.Exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (!isActive_) return;
    // A failed statement may already have rolled the transaction back (a
    // full disk does), so ROLLBACK only runs while one is open; its own
    // outcome is not noted, so callers keep the first failure's message.
    if (sqlite3_get_autocommit(db_.Handle()) == 0) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

bool Transaction::Commit() {
    if (!isActive_) return false;
    if (!db_.Exec("COMMIT")) return false;  // still active: the destructor rolls back
    isActive_ = false;
    return true;
}

const char* SqliteVersion() { return sqlite3_libversion(); }
