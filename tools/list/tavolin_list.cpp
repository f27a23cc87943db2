// tavolin-list [--tsv] PATH: prints the tracks of a track index file, or of
// the newest index of a recorder's root folder, as the window lists them.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "list_core.h"

int main(int argc, char** argv) {
    bool tsv = false;
    const char* path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--tsv") == 0 && !tsv) {
            tsv = true;
        } else if (path == nullptr) {
            path = argv[i];
        } else {
            path = nullptr;
            break;
        }
    }
    if (path == nullptr) {
        std::fprintf(stderr, "usage: tavolin-list [--tsv] PATH (a track index file or a recorder's root folder)\n");
        return 2;
    }
#ifdef _WIN32
    // Texts go out as raw bytes, lines end in LF alone.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::filesystem::path index;
    std::string error;
    if (!ResolveIndexPath(path, index, error)) {
        std::fprintf(stderr, "tavolin-list: %s\n", error.c_str());
        return 1;
    }
    std::vector<uint8_t> image;
    if (!ReadIndexImage(index, image)) {
        std::fprintf(stderr, "tavolin-list: %s: cannot read the file\n", index.string().c_str());
        return 1;
    }
    PrintListing(TrackIndexFile{image.data(), image.size()}, tsv, stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
