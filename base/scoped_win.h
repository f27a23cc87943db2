// Scope guards for Win32 resources, in the spirit of SumatraPDF's
// ScopedWin.h: each owns one resource and gives it back when its scope ends,
// so every early return is safe. None can be copied.
#pragma once

#include <windows.h>

// A kernel handle (file, thread, ...). Null and INVALID_HANDLE_VALUE hold
// nothing.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle_(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

    // Closes the handle held, if any, and takes handle in its place.
    void Reset(HANDLE handle) {
        Close();
        handle_ = handle;
    }

    // Closes the handle now; false only when CloseHandle fails (a write that
    // is flushed on close reports its failure there).
    bool Close() {
        if (!IsValid()) return true;
        const BOOL closed = CloseHandle(handle_);
        handle_ = nullptr;
        return closed != FALSE;
    }

private:
    HANDLE handle_;
};

// Memory from LocalAlloc, freed with LocalFree.
template <typename T>
class ScopedLocalMemory {
public:
    explicit ScopedLocalMemory(T* memory) : memory_(memory) {}
    ~ScopedLocalMemory() {
        if (memory_ != nullptr) LocalFree(memory_);
    }
    ScopedLocalMemory(const ScopedLocalMemory&) = delete;
    ScopedLocalMemory& operator=(const ScopedLocalMemory&) = delete;

    T* Get() const { return memory_; }

private:
    T* memory_;
};

// Selects a GDI object into a device context for one scope and selects the
// one it replaced back at the end. A null object selects nothing.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Keeps the system's "no disk" and critical-error boxes away from this
// thread for one scope, and gives the thread back the error mode it had: a
// card reader or floppy drive without a medium would otherwise raise a box
// while paths on it are asked about.
class ScopedQuietErrorMode {
public:
    ScopedQuietErrorMode()
        : isSet_(SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_) != FALSE) {}
    ~ScopedQuietErrorMode() {
        if (isSet_) SetThreadErrorMode(previous_, nullptr);
    }
    ScopedQuietErrorMode(const ScopedQuietErrorMode&) = delete;
    ScopedQuietErrorMode& operator=(const ScopedQuietErrorMode&) = delete;

private:
    DWORD previous_ = 0;
    bool isSet_;
};
