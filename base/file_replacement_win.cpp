#include "base/file_replacement_win.h"

#include <cstdio>
#include <cstring>

#include "base/file_system_win.h"

namespace {
// Names of new files tried before giving up: a name is taken only when it is
// free (CREATE_NEW), so a file left over by a crashed run is never reused.
constexpr unsigned NEW_NAME_TRIES = 16;
}  // namespace

// A target that creating a file over it (CREATE_ALWAYS) would refuse is
// refused here too, before anything is written: opening it for writing
// fails for a read-only file, for one another program holds without write
// sharing, and for a folder's name. A missing target is fine.
bool FileReplacement::Begin(const char* target, DWORD targetShare) {
    Abandon();
    const size_t length = std::strlen(target);
    if (length == 0 || length >= sizeof target_ - 16) return false;
    const DWORD attributes = GetPathAttributes(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    {
        const ScopedHandle old(OpenFileByPath(target, GENERIC_WRITE, targetShare, OPEN_EXISTING));
        if (!old.IsValid() && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    }

    std::memcpy(target_, target, length + 1);
    // Beside the target, so that the move is a rename within one folder and
    // volume; others may read the new file while it is written.
    const unsigned long pid = GetCurrentProcessId();
    for (unsigned attempt = 0; attempt < NEW_NAME_TRIES; ++attempt) {
        std::snprintf(fresh_, sizeof fresh_, "%s.%lx-%u.new", target, pid, attempt);
        // The handle held is invalid here, so the reset closes nothing and
        // leaves the creation's error code to be read.
        file_.Reset(OpenFileByPath(fresh_, GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW));
        if (file_.IsValid()) {
            isWritten_ = true;
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    fresh_[0] = '\0';
    return false;
}

// A short write is followed by another for the rest; one that writes
// nothing, or fails, ends the file (a full medium writes what fits first).
bool FileReplacement::Write(const void* bytes, DWORD size) {
    if (!file_.IsValid() || !isWritten_) return false;
    const char* next = static_cast<const char*>(bytes);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(file_.Get(), next, size, &written, nullptr) || written == 0 || written > size) {
            isWritten_ = false;
            break;
        }
        next += written;
        size -= written;
    }
    return isWritten_;
}

// The flush brings out a failure that a device reports only when the cached
// bytes reach it; MOVEFILE_WRITE_THROUGH returns only once the move is on
// the disk.
bool FileReplacement::Commit() {
    if (!file_.IsValid()) return false;
    bool isDone = isWritten_ && FlushFileBuffers(file_.Get());
    if (!file_.Close()) isDone = false;
    if (isDone) isDone = MovePathOver(fresh_, target_);
    if (isDone)
        fresh_[0] = '\0';
    else
        Abandon();
    return isDone;
}

void FileReplacement::Abandon() {
    file_.Close();
    if (fresh_[0]) {
        DeletePath(fresh_);
        fresh_[0] = '\0';
    }
    isWritten_ = false;
}
