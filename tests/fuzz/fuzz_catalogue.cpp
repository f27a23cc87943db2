// Reads a catalogue file made of the input: it is opened as a catalogue,
// every disc listed and loaded into TrackRecords, and searched. Whatever the
// bytes, this ends without a crash, and every text read back lies within its
// field as valid UTF-8.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "fuzz/fuzz_input.h"
#include "text/utf8.h"

namespace {
void CheckField(const char* field, size_t size) {
    const size_t n = strnlen(field, size);
    fuzz_input::Check(n < size && IsValidUtf8(field, n));
}

void CheckTrack(const TrackRecord& t) {
    CheckField(t.artist, sizeof t.artist);
    CheckField(t.album, sizeof t.album);
    CheckField(t.title, sizeof t.title);
    CheckField(t.groupName, sizeof t.groupName);
    CheckField(t.displayLine, sizeof t.displayLine);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One file per process, with SQLite's side files removed before each run.
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("fuzz_catalogue_" + std::to_string(getpid()) + ".sqlite")).string();
    for (const char* side : {"", "-wal", "-shm", "-journal"}) std::remove((path + side).c_str());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    Catalogue c;
    CatalogueOptions options;
    options.busyTimeoutMs = 0;
    const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::READ, c, options);
    fuzz_input::Check(opened.isOpen || opened.message.find(path) != std::string::npos);
    if (!opened.isOpen) return 0;
    std::vector<StoredDisc> discs;
    ListDiscs(c, discs);
    std::vector<TrackRecord> tracks;
    for (size_t i = 0; i < discs.size() && i < 64; ++i) {
        fuzz_input::Check(IsValidUtf8(discs[i].title.data(), discs[i].title.size()));
        LoadDiscTracks(c, discs[i].id, tracks);
        fuzz_input::Check(tracks.size() <= CATALOGUE_DISC_TRACKS_MAX);
        for (const TrackRecord& t : tracks) CheckTrack(t);
    }
    for (const char* text : {"", "a", "\xce\xba", "abc", "\"x\" OR"}) {
        FindTracks(c, text, [](const FoundTrack& found) {
            CheckTrack(found.track);
            return true;
        }, FindRange{0, 200});
    }
    return 0;
}
