// The catalogue's one door to SQLite: a connection, a prepared statement
// with bound parameters, and a transaction guard. Nothing here knows the
// schema; catalogue.cpp holds every statement.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;
class Statement;
class StatementLease;

enum class OpenAccess { READ_ONLY, READ_WRITE, CREATE };

class SqliteDb {
public:
    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Opens path (UTF-8) without touching its content; false with Error()
    // set when SQLite refuses. Any earlier connection is closed first.
    bool Open(const std::string& path, OpenAccess access);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    // Runs SQL without parameters (pragmas, the fixed schema).
    bool Exec(const char* sql);
    // SQLite's extended result code and text of the last failure.
    int ErrorCode() const { return errorCode_; }
    const std::string& Error() const { return error_; }
    bool IsReadOnly() const;
    // Rows the last INSERT, UPDATE or DELETE changed.
    int64_t Changes() const;
    void SetBusyTimeout(int ms);
    // Registers fn(text) -> text as a deterministic SQL function of one argument.
    using TextFunction = std::string (*)(const char* text, size_t n);
    bool AddTextFunction(const char* name, TextFunction fn);
    // Registers name(haystack, needle) -> 1 when the haystack's bytes hold
    // the needle's, 0 when not, NULL when either is NULL: instr's answer
    // for a search, found with memchr and memcmp instead of a comparison at
    // every byte.
    bool AddHoldsFunction(const char* name);
    sqlite3* Handle() const { return db_; }
    void NoteError(int code);  // takes the connection's current message
    // The statement for sql, prepared on first use and kept for the life of
    // the connection, handed out unbound; reset again when the lease ends.
    StatementLease Cached(const std::string& sql);

private:
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<Statement>> cache_;
    int errorCode_ = 0;
    std::string error_;
};

enum class StepResult { ROW, DONE, FAILED };

// A prepared statement, reset before each run so it can be stepped again.
// Parameters are numbered from 1 and columns from 0, as in SQLite.
class Statement {
public:
    Statement(SqliteDb& db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool IsReady() const { return stmt_ != nullptr; }
    Statement& Reset();  // clears the bindings too
    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, double value);
    Statement& Bind(int index, const char* text);  // nullptr binds NULL
    Statement& Bind(int index, const std::string& text);
    Statement& BindBlob(int index, const std::string& bytes);
    StepResult Step();
    // Steps once and expects no row back (INSERT, UPDATE, DELETE).
    bool Run();

    int64_t Int(int column) const;
    double Real(int column) const;
    bool IsReal(int column) const;
    // The column's bytes as text (a blob's bytes as they are; NULL gives "")
    // and their count, valid until the next step or reset.
    const char* Text(int column, size_t* size) const;
    std::string TextCopy(int column) const;

private:
    SqliteDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
    bool bindFailed_ = false;
};

// A cached statement for one use. Resetting at the end matters beyond
// tidiness: a statement left mid-way holds its read snapshot, so the reader
// would not see other programs' later writes and would hold back the WAL's
// checkpoint.
class StatementLease {
public:
    explicit StatementLease(Statement& s) : s_(s) {}
    ~StatementLease();
    StatementLease(const StatementLease&) = delete;
    StatementLease& operator=(const StatementLease&) = delete;
    Statement& operator*() const { return s_; }
    Statement* operator->() const { return &s_; }

private:
    Statement& s_;
};

// BEGIN IMMEDIATE on construction, so a writer waits for another writer
// (through the busy timeout) before it reads what it will change; ROLLBACK
// on destruction unless Commit() succeeded.
class Transaction {
public:
    explicit Transaction(SqliteDb& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool IsActive() const { return isActive_; }
    bool Commit();

private:
    SqliteDb& db_;
    bool isActive_ = false;
};

// The linked library's version text ("3.40.1").
const char* SqliteVersion();
