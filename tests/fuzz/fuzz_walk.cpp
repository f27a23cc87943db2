// libFuzzer entry: the whole walk over an arbitrary image, with the checks a
// window relies on. Reads past the input are caught by AddressSanitizer,
// since the image is exactly the fuzzer's buffer.
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "index/scan_walk.h"
#include "text/utf8.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// A terminated text in its buffer: well-formed UTF-8 of at most maxChars
// characters.
void CheckText(const char* text, size_t bufferSize, size_t maxChars) {
    const size_t n = strnlen(text, bufferSize);
    Check(n < bufferSize && IsValidUtf8(text, n) && CountUtf8Chars(text, n) <= maxChars);
}

class CheckingSink : public ScanSink {
public:
    void OnDiscTitle(const char* title) override {
        Check(!hasTitle_ && tracks_ == 0);
        hasTitle_ = true;
        CheckText(title, LINE_BUFFER_SIZE, LINE_CHARS);
    }
    void OnTrackFound(uint32_t slot, const TrackReport& r) override {
        Check(slot < TRACK_SLOT_COUNT);
        Check(tracks_ == 0 || slot > lastSlot_);
        lastSlot_ = slot;
        ++tracks_;
        Check(tracks_ <= TRACK_SLOT_COUNT);
        CheckText(r.displayLine, LINE_BUFFER_SIZE, LINE_CHARS);
        const size_t lineLength = strnlen(r.displayLine, LINE_BUFFER_SIZE);
        Check(lineLength > 0);
        for (const char* text : {r.artist, r.album, r.title, r.groupName})
            CheckText(text, TEXT_BUFFER_SIZE, TEXT_CHARS);
        Check(std::isfinite(*r.trackLength) && *r.trackLength >= 0.0f);
        // Every line ends with its mode piece, however long the texts.
        Check(r.displayLine[lineLength - 1] == ']');
    }

private:
    bool hasTitle_ = false;
    uint32_t lastSlot_ = 0;
    uint32_t tracks_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::atomic<int32_t> stop{0};
    CheckingSink sink;
    WalkTrackIndex(TrackIndexFile{data, size}, stop, sink);
    return 0;
}
