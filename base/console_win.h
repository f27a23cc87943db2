// The console of a command-line program, for UTF-8 text: output shown on a
// console window as characters. Its arguments come from CommandLineArguments
// (base/shell_win.h).
#pragma once

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "base/scoped_win.h"

// Whether the stream writes to a console window rather than a file or a
// pipe.
bool IsConsole(FILE* stream);

// While it lives, the UTF-8 text written to Stream() is shown on the console
// of the stream it was made for, character by character as written.
class ConsoleWriter {
public:
    explicit ConsoleWriter(FILE* console);
    ~ConsoleWriter() { Finish(); }
    ConsoleWriter(const ConsoleWriter&) = delete;
    ConsoleWriter& operator=(const ConsoleWriter&) = delete;
    // Null when the writer could not be set up.
    FILE* Stream() const { return stream_; }
    // Closes the stream and returns once all its text is shown; false when
    // the console refused a write.
    bool Finish();

private:
    void Show();
    HANDLE console_;
    ScopedHandle reader_;
    FILE* stream_ = nullptr;
    std::thread pump_;
    bool isShown_ = true;
};
