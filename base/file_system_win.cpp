#include "base/file_system_win.h"

#include "base/scoped_win.h"
#include "base/wide_text_win.h"

HANDLE OpenFileByPath(const char* path, DWORD access, DWORD share, DWORD disposition) {
    return CreateFileW(ToWide(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

DWORD GetPathAttributes(const char* path) { return GetFileAttributesW(ToWide(path).c_str()); }

bool GetPathWriteTime(const char* path, FILETIME* written) {
    const ScopedHandle file(OpenFileByPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    return file.IsValid() && GetFileTime(file.Get(), nullptr, nullptr, written);
}

// Asked twice: the size with the terminator, then the path without it.
std::string GetFullPath(const char* path) {
    const std::wstring wide = ToWide(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    return ToUtf8(full.data(), int(length));
}

bool MovePathOver(const char* from, const char* to) {
    return MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool DeletePath(const char* path) { return DeleteFileW(ToWide(path).c_str()); }

bool CreateFolder(const char* path) { return CreateDirectoryW(ToWide(path).c_str(), nullptr) != FALSE; }

UINT GetPathDriveType(const char* root) { return GetDriveTypeW(ToWide(root).c_str()); }
