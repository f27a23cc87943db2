// tavolin-catalogue-add FILE PATH...: reads each recorder as tavolin-list
// does and stores it in the catalogue FILE under its identity, or the hash
// of its index when it has none. Prints "added", "updated" or "unchanged"
// per path; exits 1 when one failed.
#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "index/scan_walk.h"
#include "listing/track_catalogue.h"
#include "tools/shipped/list/list_core.h"

namespace {

class Filler : public ScanSink {
public:
    void OnDiscTitle(const char* text) override { title = text; }
    void OnTrackFound(uint32_t, const TrackReport& report) override { AppendTrack(report); }
    std::string title;
};

const char* ResultText(AddResult result) {
    switch (result) {
    case AddResult::ADDED: return "added";
    case AddResult::UPDATED: return "updated";
    case AddResult::UNCHANGED: return "unchanged";
    case AddResult::FAILED: break;
    }
    return "failed";
}

bool AddPath(Catalogue& catalogue, const std::string& path) {
    std::filesystem::path index;
    std::string error;
    std::vector<uint8_t> image;
    if (!ResolveIndexPath(path, index, error)) {
        std::fprintf(stderr, "tavolin-catalogue-add: %s\n", error.c_str());
        return false;
    }
    if (!ReadIndexImage(index, image)) {
        std::fprintf(stderr, "tavolin-catalogue-add: %s: cannot read the file\n", index.string().c_str());
        return false;
    }
    char key[DISC_KEY_SIZE];
    const bool isDerived = !DiscKeyFromIdentity(ReadDiscIdentityBeside(index), key);
    // The image is read 100 zero bytes longer than the file, as the scan
    // reads it; the key hashes the file's own bytes, as the window does.
    std::error_code ec;
    const uintmax_t fileSize = std::filesystem::file_size(index, ec);
    if (isDerived) DiscKeyFromImage(image.data(), ec ? image.size() : size_t(fileSize), key);
    ClearCatalogue();
    Filler filler;
    std::atomic<int32_t> stop{0};
    WalkTrackIndex(TrackIndexFile{image.data(), image.size()}, stop, filler);
    std::set<std::string> groups;
    for (uint32_t i = 0; i < gCatalogue.count; ++i)
        if (gCatalogue.records[i].groupName[0] != '\0') groups.insert(gCatalogue.records[i].groupName);
    const std::string name = index.filename().string();
    uint32_t generation = 0;
    if (name.size() >= 8) generation = uint32_t(std::strtoul(name.substr(6, 2).c_str(), nullptr, 16));
    const std::string source = index.string();
    const StoredDiscInfo info = {key, isDerived, filler.title.c_str(), generation, source.c_str(),
                                 uint32_t(groups.size())};
    const AddOutcome outcome = AddDisc(catalogue, info, gCatalogue.records, gCatalogue.count);
    if (outcome.result == AddResult::FAILED) {
        std::fprintf(stderr, "tavolin-catalogue-add: %s\n", outcome.message.c_str());
        return false;
    }
    std::printf("%s: %s\n", path.c_str(), ResultText(outcome.result));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tavolin-catalogue-add FILE PATH...\n");
        return 2;
    }
    Catalogue catalogue;
    const CatalogueOpenResult opened = OpenCatalogue(argv[1], CatalogueMode::WRITE, catalogue);
    if (!opened.isOpen) {
        std::fprintf(stderr, "tavolin-catalogue-add: %s\n", opened.message.c_str());
        return 1;
    }
    bool isAllAdded = true;
    for (int i = 2; i < argc; ++i) isAllAdded = AddPath(catalogue, argv[i]) && isAllAdded;
    return isAllAdded ? 0 : 1;
}
