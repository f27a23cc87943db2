// libFuzzer entry: the walk over an arbitrary image, once whole and once with
// the stop flag raised after a number of reports that the image's unread
// first bytes give. The stopped walk reports exactly the first reports of the
// whole walk and nothing after the one that raised the flag; raised before
// the walk, it reports at most a beginning of the disc title.
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "index/scan_walk.h"

using fuzz_input::Check;

namespace {

// One report, copied whole; the title report has slot ~0.
struct Report {
    uint32_t slot;
    std::string line, artist, album, title, group;
    uint32_t number;
    uint32_t lengthBits;
    int32_t bitrate;
    bool operator==(const Report&) const = default;
};

constexpr uint32_t TITLE_REPORT = ~0u;

class RecordingSink : public ScanSink {
public:
    RecordingSink(std::atomic<int32_t>& stop, size_t stopAfter) : stop_(stop), stopAfter_(stopAfter) {}

    void OnDiscTitle(const char* title) override {
        reports.push_back({TITLE_REPORT, title, "", "", "", "", 0, 0, 0});
        Counted();
    }
    void OnTrackFound(uint32_t slot, const TrackReport& r) override {
        uint32_t bits;
        std::memcpy(&bits, r.trackLength, sizeof bits);
        reports.push_back(
            {slot, r.displayLine, r.artist, r.album, r.title, r.groupName, r.trackNumber, bits, r.bitrate});
        Counted();
    }
    std::vector<Report> reports;

private:
    void Counted() {
        if (reports.size() == stopAfter_) stop_.store(1);
    }
    std::atomic<int32_t>& stop_;
    size_t stopAfter_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TrackIndexFile file{data, size};
    fuzz_input::Reader in(data, size);
    const size_t stopAfter = in.U16();

    std::atomic<int32_t> never{0};
    RecordingSink whole(never, 0);
    WalkTrackIndex(file, never, whole);

    std::atomic<int32_t> stop{stopAfter == 0 ? 1 : 0};
    RecordingSink stopped(stop, stopAfter);
    WalkTrackIndex(file, stop, stopped);

    const std::vector<Report>& all = whole.reports;
    const std::vector<Report>& got = stopped.reports;
    if (stopAfter == 0) {
        Check(got.size() <= 1);
        if (got.size() == 1) {
            Check(got[0].slot == TITLE_REPORT && !all.empty() && all[0].slot == TITLE_REPORT);
            Check(all[0].line.compare(0, got[0].line.size(), got[0].line) == 0);
        }
        return 0;
    }
    Check(got.size() == (all.size() < stopAfter ? all.size() : stopAfter));
    for (size_t i = 0; i < got.size(); ++i) Check(got[i] == all[i]);
    return 0;
}
