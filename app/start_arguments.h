// What tavolin.exe's command line asks for. Portable.
#pragma once
#include <string>
#include <vector>

constexpr char CATALOGUE_OPTION[] = "--catalogue";

struct StartArguments {
    std::string cataloguePath;  // --catalogue FILE; "": the default file
    std::string copyPath;       // the first other argument: a recorder copy to list; "": none
};

// "--catalogue FILE" anywhere (the last one counts; one without a FILE is
// let go), the first other argument as the copy to list; further ones are
// let go, as the shell may pass several dropped paths.
StartArguments ReadStartArguments(const std::vector<std::string>& arguments);
