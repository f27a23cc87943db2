#include "index/track_timing.h"

#include <cmath>

namespace {

struct CodecRow {
    uint16_t codecId;
    int32_t bitrate;
    uint32_t frameSize;
    uint32_t framesPerBlock;
};

// The codecs the recorder's own modes use; their length is taken at the
// nominal bitrate.
constexpr CodecRow CODEC_TABLE[] = {
    {0x2018, 66000, 192, 84},   {0x2026, 105000, 304, 53}, {0x2030, 132000, 384, 42},
    {0x2807, 1411200, 64, 255}, {0x2822, 48000, 280, 58},  {0x282E, 64000, 376, 43},
    {0x28B9, 256000, 1488, 10},
};

// The recording modes' names: as the scan's display line shows them, and as
// a format line writes them (PCM's with a tab there).
struct ModeName {
    int32_t bitrate;
    const char* name;
    const char* formatName;
};

constexpr ModeName MODE_NAMES[] = {
    {48000, "HI-LP 48kbps", "HI-LP 48kbps"},    {64000, "HI-LP 64kbps", "HI-LP 64kbps"},
    {66000, "LP4 66kbps", "LP4 66kbps"},        {105000, "LP2 105kbps", "LP2 105kbps"},
    {132000, "LP2 132kbps", "LP2 132kbps"},     {256000, "HI-SP 256kbps", "HI-SP 256kbps"},
    {1411200, "PCM 1411kbps", "PCM\t1411kbps"},
};
constexpr const char* UNKNOWN_MODE_NAME = "UNKNOWN ATRAC";

const ModeName* FindModeName(int32_t bitrate) {
    for (const ModeName& m : MODE_NAMES)
        if (m.bitrate == bitrate) return &m;
    return nullptr;
}

// Codec families (entry byte 32) of codecs outside the table.
constexpr uint8_t FAMILY_ATRAC3 = 0x00;
constexpr uint8_t FAMILY_ATRAC3PLUS = 0x01;  // or MP3, told apart by c0
constexpr uint8_t MP3_MARK = 0x03;           // c0 AND 3
constexpr uint32_t ATRAC3_SAMPLES_PER_FRAME = 1024;
constexpr uint32_t ATRAC3PLUS_SAMPLES_PER_FRAME = 2048;
constexpr uint32_t ATRAC3PLUS_FRAME_MASK = 0x3FF;
constexpr uint32_t SAMPLE_RATES[] = {32000, 44100, 48000, 88200, 96000};
constexpr uint32_t SAMPLE_RATE_SHIFT = 5;  // c1 >> 5 indexes SAMPLE_RATES

// Frames of a track over its chain of timing cells. A recorder splits a
// track that was divided or edited into several cells, and a divided track
// may begin in the middle of a block (first frame not 0). Links reach 4096
// cells; a link back to a cell already counted ends the chain.
uint32_t CountFrames(const TrackIndexFile& file, uint32_t firstCell, uint32_t framesPerBlock) {
    VisitedCells visited;
    uint32_t cell = firstCell;
    uint32_t frames = 0;
    for (;;) {
        visited.Mark(cell);
        const size_t t = TIMING_CELL_BASE + CELL_SIZE * size_t(cell);
        const uint32_t firstBlock = ImageBe16(file, t + TIMING_FIRST_BLOCK_AT);
        const uint32_t lastBlock = ImageBe16(file, t + TIMING_LAST_BLOCK_AT);
        const uint32_t firstFrame = ImageByte(file, t + TIMING_FIRST_FRAME_AT);
        const uint32_t lastFrame = ImageByte(file, t + TIMING_LAST_FRAME_AT);
        // 32-bit arithmetic, modulo 2^32, as stored totals are computed.
        frames += framesPerBlock * (lastBlock - firstBlock) + lastFrame - firstFrame + 1;
        const uint16_t link = LinkOfCell(file, t);
        if (link == 0 || visited.IsMarked(link)) break;
        cell = link;
    }
    return frames;
}

// A codec outside the table: its frame size and sample rate come from the
// codec-info bytes. Whatever they hold, the length stays finite and the
// bitrate names no mode.
void ComputeOtherCodec(const TrackIndexFile& file, size_t entry, TrackTiming& timing) {
    const uint8_t family = ImageByte(file, entry + ENTRY_CODEC_FAMILY_AT);
    const uint8_t c0 = ImageByte(file, entry + ENTRY_CODEC_INFO_AT);
    const uint8_t c1 = ImageByte(file, entry + ENTRY_CODEC_INFO_AT + 1);
    const uint8_t c2 = ImageByte(file, entry + ENTRY_CODEC_INFO_AT + 2);
    if (family == FAMILY_ATRAC3PLUS && (c0 & MP3_MARK) == MP3_MARK) {
        // MP3 keeps its length in whole seconds in the entry.
        timing.length = float(ImageBe16(file, entry + ENTRY_MP3_SECONDS_AT));
        return;
    }
    uint32_t frameSize, samplesPerFrame;
    if (family == FAMILY_ATRAC3) {
        frameSize = uint32_t(c2) * 8;
        samplesPerFrame = ATRAC3_SAMPLES_PER_FRAME;
    } else if (family == FAMILY_ATRAC3PLUS) {
        frameSize = (((uint32_t(c1) << 8 | c2) & ATRAC3PLUS_FRAME_MASK) + 1) * 8;
        samplesPerFrame = ATRAC3PLUS_SAMPLES_PER_FRAME;
    } else {
        return;
    }
    const uint32_t rateIndex = c1 >> SAMPLE_RATE_SHIFT;
    if (frameSize == 0 || rateIndex >= std::size(SAMPLE_RATES)) return;
    const double rate = SAMPLE_RATES[rateIndex];
    const uint32_t frames = CountFrames(file, timing.trackNumber, FRAMES_PER_BLOCK_BYTES / frameSize);
    timing.totalBytes = frameSize * frames;
    timing.length = float(double(frames) * samplesPerFrame / rate);
    int32_t bitrate = int32_t(std::lround(frameSize * 8.0 * rate / samplesPerFrame));
    if (FindModeName(bitrate)) ++bitrate;
    timing.bitrate = bitrate;
}

}  // namespace

// The table codecs' length is the byte total at the nominal bitrate, from the
// full bit count (which can exceed 32 bits).
void ComputeTrackTiming(const TrackIndexFile& file, uint32_t slot, TrackTiming& timing) {
    const size_t entry = TrackEntryOffset(slot);
    timing.bitrate = 0;
    timing.totalBytes = 0;
    timing.trackNumber = ImageBe16(file, entry + ENTRY_TRACK_NUMBER_AT);
    timing.length = 0.0f;
    const uint16_t codecId = ImageBe16(file, entry + ENTRY_CODEC_ID_AT);
    for (const CodecRow& row : CODEC_TABLE) {
        if (row.codecId != codecId) continue;
        timing.bitrate = row.bitrate;
        timing.totalBytes = row.frameSize * CountFrames(file, timing.trackNumber, row.framesPerBlock);
        timing.length = float(double(timing.totalBytes) * 8.0 / row.bitrate);
        return;
    }
    ComputeOtherCodec(file, entry, timing);
}

const char* RecordingModeName(int32_t bitrate) {
    const ModeName* m = FindModeName(bitrate);
    return m ? m->name : UNKNOWN_MODE_NAME;
}

const char* RecordingModeFormatName(int32_t bitrate) {
    const ModeName* m = FindModeName(bitrate);
    return m ? m->formatName : UNKNOWN_MODE_NAME;
}
