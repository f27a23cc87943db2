// tavolin-list [OPTION]... PATH...: the window's track listing of a
// recorder's drive, a copy of its folder or a track index file, on the
// command line (see --help).
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "list_core.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // Texts go out as raw bytes, and line ends as the listing has them.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return RunList(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
