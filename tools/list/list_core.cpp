#include "list_core.h"

#include <atomic>
#include <cstring>
#include <fstream>
#include <system_error>

#include "index/scan_walk.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* INDEX_FOLDER = "HMDHIFI";

fs::path IndexName(const fs::path& folder, uint32_t number) {
    char name[32];
    snprintf(name, sizeof name, "TRKIDX%02x.HMA", number);
    return folder / name;
}

// The recorder rewrites its index into numbered copies; the one written last
// is the current one. Numbers are tried from 00 up: missing ones are passed
// over until a first file is chosen, after that the first missing number
// ends the search. A later copy must be strictly newer to win, so among
// equal times the lower number stays.
bool FindNewestIndex(const fs::path& folder, fs::path& newest) {
    bool hasBest = false;
    bool isPresent = false;
    fs::file_time_type bestTime{};
    for (uint32_t n = 0; n < LIST_INDEX_NUMBER_LIMIT && (!hasBest || isPresent); ++n) {
        const fs::path candidate = IndexName(folder, n);
        std::error_code ec;
        if (!fs::is_regular_file(candidate, ec)) {
            isPresent = false;
            continue;
        }
        const fs::file_time_type time = fs::last_write_time(candidate, ec);
        if (ec) continue;
        if (!hasBest || time > bestTime) {
            hasBest = true;
            isPresent = true;
            bestTime = time;
            newest = candidate;
        }
    }
    return hasBest;
}

class ListingPrinter : public ScanSink {
public:
    ListingPrinter(bool tsv, FILE* out) : tsv_(tsv), out_(out) {}

    void OnDiscTitle(const char* title) override {
        if (tsv_) {
            fprintf(out_, "disc\t1\t%s\n", EscapeTsvField(title).c_str());
            hasDiscLine_ = true;
        } else {
            fprintf(out_, "%s\n", title);
        }
    }
    void OnTrackFound(uint32_t slot, const TrackReport& r) override {
        if (!tsv_) {
            fprintf(out_, "%s\n", r.displayLine);
            return;
        }
        WriteDiscLineIfMissing();
        fprintf(out_, "%u\t%u\t%.9g\t%d\t%s\t%s\t%s\t%s\t%s\n", slot, r.trackNumber, double(*r.trackLength),
                r.bitrate, EscapeTsvField(r.groupName).c_str(), EscapeTsvField(r.artist).c_str(),
                EscapeTsvField(r.album).c_str(), EscapeTsvField(r.title).c_str(),
                EscapeTsvField(r.displayLine).c_str());
    }
    // A disc without a title cell still gets its disc record, first.
    void WriteDiscLineIfMissing() {
        if (tsv_ && !hasDiscLine_) {
            fprintf(out_, "disc\t0\t\n");
            hasDiscLine_ = true;
        }
    }

private:
    bool tsv_;
    FILE* out_;
    bool hasDiscLine_ = false;
};

}  // namespace

bool ResolveIndexPath(const fs::path& path, fs::path& index, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        error = path.string() + ": no such file or folder";
        return false;
    }
    if (!fs::is_directory(status)) {
        index = path;
        return true;
    }
    const fs::path folder = path / INDEX_FOLDER;
    if (!fs::is_directory(folder, ec)) {
        error = path.string() + ": not a recorder (no " + INDEX_FOLDER + " folder)";
        return false;
    }
    if (!FindNewestIndex(folder, index)) {
        error = path.string() + ": no track index file in " + INDEX_FOLDER;
        return false;
    }
    return true;
}

bool ReadIndexImage(const fs::path& path, std::vector<uint8_t>& image) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    in.seekg(0, std::ios::beg);
    // Like the scan, read no more than the decoder can reach: a huge file
    // gives the same listing without taking its size in memory.
    const std::streamoff toRead = size < std::streamoff(INDEX_READ_LIMIT) ? size : std::streamoff(INDEX_READ_LIMIT);
    image.assign(size_t(toRead) + INDEX_IMAGE_PADDING, 0);
    in.read(reinterpret_cast<char*>(image.data()), toRead);
    return in.gcount() == toRead;
}

void PrintListing(const TrackIndexFile& file, bool tsv, FILE* out) {
    std::atomic<int32_t> stop{0};
    ListingPrinter printer(tsv, out);
    WalkTrackIndex(file, stop, printer);
    printer.WriteDiscLineIfMissing();
}

std::string EscapeTsvField(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        switch (*p) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += *p;
        }
    }
    return out;
}
