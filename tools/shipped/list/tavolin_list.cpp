// tavolin-list [OPTION]... PATH...: the window's track listing of a
// recorder's drive, a copy of its folder or a track index file, on the
// command line (see --help).
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "list_core.h"

// Given no buffer, glibc keeps its own small one whatever the size asked.
static char gOutputBuffer[LIST_OUTPUT_BUFFER_SIZE];

int main(int argc, char** argv) {
    // A listing into a file or a pipe goes out in large writes, not one per
    // few kilobytes; a terminal keeps its line buffering.
    if (!isatty(STDOUT_FILENO)) std::setvbuf(stdout, gOutputBuffer, _IOFBF, LIST_OUTPUT_BUFFER_SIZE);
    return RunList(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
