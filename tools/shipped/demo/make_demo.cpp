// tavolin-make-demo DIR [LAYOUTS.tfc]: writes a demo recorder (a folder laid
// out like a Hi-MD recorder's drive) into DIR, for tavolin-list and the
// window, and when asked a sample layouts file.
#include <cstdio>
#include <string>

#include "demo_disc.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: tavolin-make-demo DIR [LAYOUTS.tfc]\n");
        return 2;
    }
    std::string error;
    if (!WriteDemoRecorder(argv[1], error) || (argc == 3 && !WriteDemoLayouts(argv[2], error))) {
        std::fprintf(stderr, "tavolin-make-demo: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
