// tavolin-make-demo [--title TEXT] DIR [LAYOUTS.tfc]: writes a demo recorder
// (a folder laid out like a Hi-MD recorder's drive) into DIR, for
// tavolin-list and the window, and when asked a sample layouts file. With
// --title the disc has that title and no identity: another disc for a
// catalogue.
#include <cstdio>
#include <string>

#include "demo_disc.h"

int main(int argc, char** argv) {
    const char* title = nullptr;
    if (argc >= 3 && std::string(argv[1]) == "--title") {
        title = argv[2];
        argc -= 2;
        argv += 2;
    }
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: tavolin-make-demo [--title TEXT] DIR [LAYOUTS.tfc]\n");
        return 2;
    }
    std::string error;
    if (!WriteDemoRecorder(argv[1], error, title) || (argc == 3 && !WriteDemoLayouts(argv[2], error))) {
        std::fprintf(stderr, "tavolin-make-demo: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
