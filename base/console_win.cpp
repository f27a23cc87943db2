#include "base/console_win.h"

#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstring>

#include "base/wide_text_win.h"

namespace {
// Bytes read from the pipe at a time; the console takes as much per call.
constexpr size_t PIPE_CHUNK = 4096;
// The longest UTF-8 sequence: what a read may leave of a character.
constexpr size_t UTF8_MAX_BYTES = 4;

HANDLE HandleOf(FILE* stream) { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))); }

// The bytes of text that hold whole characters: a sequence begun in the
// last three bytes and not yet complete is left for the next read. Stray
// continuation bytes count as whole (the conversion shows them as U+FFFD).
size_t WholeCharacters(const char* text, size_t size) {
    for (size_t back = 1; back <= UTF8_MAX_BYTES - 1 && back <= size; ++back) {
        const unsigned char c = static_cast<unsigned char>(text[size - back]);
        if ((c & 0xC0) == 0x80) continue;  // a continuation byte
        const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return need > back ? size - back : size;
    }
    return size;
}

bool WriteToConsole(HANDLE console, const char* text, size_t size) {
    const std::wstring wide = ToWide(text, size);
    size_t at = 0;
    while (at < wide.size()) {
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + at, static_cast<DWORD>(wide.size() - at), &written, nullptr) ||
            written == 0)
            return false;
        at += written;
    }
    return true;
}
}  // namespace

// GetConsoleMode answers only for a console: a file, a pipe or the null
// device refuse it.
bool IsConsole(FILE* stream) {
    DWORD mode = 0;
    return GetConsoleMode(HandleOf(stream), &mode) != 0;
}

// The stream is the write end of a pipe; a thread reads the other end and
// shows what arrives, so text appears as the program writes it.
ConsoleWriter::ConsoleWriter(FILE* console) : console_(HandleOf(console)) {
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return;
    reader_.Reset(readEnd);
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(writeEnd), _O_BINARY);
    if (fd < 0) {
        CloseHandle(writeEnd);
        return;
    }
    stream_ = _fdopen(fd, "wb");
    if (stream_ == nullptr) {
        _close(fd);
        return;
    }
    pump_ = std::thread([this] { Show(); });
}

// A read may end inside a character: its first bytes wait for the rest.
void ConsoleWriter::Show() {
    char buffer[PIPE_CHUNK + UTF8_MAX_BYTES];
    size_t kept = 0;
    DWORD got = 0;
    while (ReadFile(reader_.Get(), buffer + kept, PIPE_CHUNK, &got, nullptr) && got > 0) {
        const size_t size = kept + got;
        const size_t whole = WholeCharacters(buffer, size);
        if (!WriteToConsole(console_, buffer, whole)) isShown_ = false;
        kept = size - whole;
        std::memmove(buffer, buffer + whole, kept);
    }
    if (kept > 0 && !WriteToConsole(console_, buffer, kept)) isShown_ = false;
}

bool ConsoleWriter::Finish() {
    if (stream_ != nullptr) {
        // Closing the write end ends the thread's reads once all is read.
        if (std::fclose(stream_) != 0) isShown_ = false;
        stream_ = nullptr;
    }
    if (pump_.joinable()) pump_.join();
    reader_.Close();
    return isShown_;
}
