// The file system calls of the program, for UTF-8 paths: each converts the
// path for the wide Win32 call it makes, so a folder named in any script
// works whatever the system's code page.
#pragma once

#include <windows.h>

#include <string>

// CreateFileW: INVALID_HANDLE_VALUE on failure, with the error code left
// for GetLastError.
HANDLE OpenFileByPath(const char* path, DWORD access, DWORD share, DWORD disposition);
// GetFileAttributesW: INVALID_FILE_ATTRIBUTES when they cannot be read.
DWORD GetPathAttributes(const char* path);
// Opens the file for reading and reads its last-write time; false when it
// cannot be opened or its time cannot be read.
bool GetPathWriteTime(const char* path, FILETIME* written);
// GetFullPathNameW: the absolute form of path against the current folder,
// or path itself when it has none.
std::string GetFullPath(const char* path);
// Moves from over to (replacing a file there), returning once the move is
// on the disk.
bool MovePathOver(const char* from, const char* to);
bool DeletePath(const char* path);
// CreateDirectoryW: false also when the folder is there already.
bool CreateFolder(const char* path);
// GetDriveTypeW of a root such as "D:\".
UINT GetPathDriveType(const char* root);
