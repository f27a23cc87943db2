// tavolin-list [OPTION]... PATH...: the window's track listing of a
// recorder's drive, a copy of its folder or a track index file, on the
// command line (see --help).
#include <cstdio>
#include <string>
#include <vector>

#include "list_core.h"

int main(int argc, char** argv) {
    return RunList(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr);
}
