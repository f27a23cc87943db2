// tavolin-list.exe: tavolin-list on Windows. Arguments are read as UTF-8
// from the wide command line, so paths in any script work. Output that goes
// into a file or a pipe is the native program's UTF-8 bytes; output to a
// console window is shown as characters, which no console code page could
// give for every text.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <memory>
#include <string>

#include "list_core.h"
#include "base/console_win.h"
#include "base/known_folders_win.h"
#include "base/shell_win.h"

// Given no buffer, glibc keeps its own small one whatever the size asked.
static char gOutputBuffer[LIST_OUTPUT_BUFFER_SIZE];

int main() {
    // Texts go out as raw bytes, and line ends as the listing has them.
    _setmode(_fileno(stdout), _O_BINARY);
    // A listing into a file or a pipe goes out in large writes, not one per
    // few kilobytes, each of which costs a trip through the system.
    if (!IsConsole(stdout)) std::setvbuf(stdout, gOutputBuffer, _IOFBF, LIST_OUTPUT_BUFFER_SIZE);
    // Where both streams reach the console they share one writer, which keeps
    // the order in which messages and lines were written.
    std::unique_ptr<ConsoleWriter> shown;
    if (IsConsole(stdout))
        shown.reset(new ConsoleWriter(stdout));
    else if (IsConsole(stderr))
        shown.reset(new ConsoleWriter(stderr));
    FILE* out = stdout;
    FILE* err = stderr;
    if (shown != nullptr && shown->Stream() != nullptr) {
        if (IsConsole(stdout)) out = shown->Stream();
        if (IsConsole(stderr)) err = shown->Stream();
    }
    const std::string appData = RoamingAppDataFolder();
    const int status = RunList(CommandLineArguments(), out, err, appData.c_str());
    if (shown != nullptr && !shown->Finish()) return LIST_FAILED;
    return status;
}
