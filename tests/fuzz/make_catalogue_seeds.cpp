// make_catalogue_seeds DIR: writes the seed of fuzz_catalogue of this schema
// version into DIR (discs_vN), a small catalogue with texts in several
// scripts and a disc whose title cell holds no text, made by the store
// itself. The seeds of older versions stay as they were written.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_catalogue_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const std::string path = (dir / ("discs_v" + std::to_string(CATALOGUE_SCHEMA_VERSION))).string();
    std::filesystem::remove(path);
    Catalogue c;
    const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::WRITE, c);
    if (!opened.isOpen) {
        std::fprintf(stderr, "%s\n", opened.message.c_str());
        return 1;
    }
    const char* titles[] = {"東京の夜", "Καλημέρα", "Café"};
    const char* discTitles[] = {"First", "Zweite", ""};
    for (unsigned disc = 0; disc < 3; ++disc) {
        ClearCatalogue();
        for (unsigned i = 0; i < 3; ++i) {
            const float length = 61.5f * float(i + 1);
            TrackReport report{titles[i], "Artist", "Album", titles[(i + disc) % 3], i + 1, &length,
                               132000, disc ? "Group" : "", i, 0};
            AppendTrack(report);
        }
        const std::string key = std::string(31, '0') + char('1' + disc);
        StoredDiscInfo info{key.c_str(), disc == 1, discTitles[disc], 1, "/media/md", 1};
        info.hasTitleCell = true;
        const AddOutcome added = AddDisc(c, info, gCatalogue.records, gCatalogue.count);
        if (added.result == AddResult::FAILED) {
            std::fprintf(stderr, "%s\n", added.message.c_str());
            return 1;
        }
    }
    return 0;
}
