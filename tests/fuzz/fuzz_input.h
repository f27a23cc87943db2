#pragma once
// The byte layouts of the fuzz targets' inputs, read by the targets and
// written by the seed writer, so both agree on one description.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace fuzz_input {

// Ends the run as a finding when a property does not hold.
inline void Check(bool condition) {
    if (!condition) std::abort();
}

// Reads an input front to back, little-endian; past its end every read
// yields zero, so any input is a valid one.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool IsEmpty() const { return at_ >= size_; }
    size_t Left() const { return size_ - at_; }
    const uint8_t* Here() const { return data_ + at_; }

    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t U16() {
        const uint16_t lo = Byte();
        return uint16_t(lo | Byte() << 8);
    }
    uint32_t U32() {
        const uint32_t lo = U16();
        return lo | uint32_t(U16()) << 16;
    }
    // Copies up to n bytes into out; returns how many the input still had.
    size_t Take(void* out, size_t n) {
        if (n > Left()) n = Left();
        std::memcpy(out, data_ + at_, n);
        at_ += n;
        return n;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class Writer {
public:
    void Byte(uint8_t b) { bytes.push_back(b); }
    void U16(uint16_t v) {
        Byte(uint8_t(v));
        Byte(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void Bytes(const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        bytes.insert(bytes.end(), b, b + n);
    }
    // A text as a length byte and its bytes (at most 255).
    void Text(const std::string& text) {
        const size_t n = text.size() < 255 ? text.size() : 255;
        Byte(uint8_t(n));
        Bytes(text.data(), n);
    }
    std::vector<uint8_t> bytes;
};

// fuzz_format_line: flags, the cut size of the second rendering, the
// record's numbers and lengths, its four texts, then the slots of the
// table of the chosen mode, 64 bytes each, from slot 0 on.
inline constexpr uint8_t LINE_GROUP_MODE = 0x01;
inline constexpr uint8_t LINE_ROUND = 0x02;

// fuzz_settings_handler: a sequence of calls, each an op byte, then the
// option (a number byte, or a whole 32-bit id with OP_RAW_ID), then the text
// (a dictionary index with OP_DICTIONARY_TEXT, else a length byte and the
// bytes; 255 fills the buffer with no terminator).
inline constexpr uint8_t OP_SET = 0x01;
inline constexpr uint8_t OP_BUSY = 0x02;
inline constexpr uint8_t OP_MODE_SHIFT = 2;  // 2 bits: none, Full Listing, Group Listing, both
inline constexpr uint8_t OP_RAW_ID = 0x10;
inline constexpr uint8_t OP_DICTIONARY_TEXT = 0x20;

// Texts the settings accept, so a few mutations reach every branch.
inline const char* const HANDLER_DICTIONARY[] = {
    "Artist (Ascending Order)",
    "Album (Decending Order)",
    "Track Number (Ascending Order)",
    "Group Number (Decending Order)",
    "group length (ascending order)",
    "BITRATE (DECENDING ORDER)",
    "Group Name (Ascending Order)",
    "Full Listing",
    "GROUP LISTING",
    "<Custom>",
    "<CUSTOM>",
    "-",
    "<CRLF>",
    "Trk Length",
    "1",
    "0",
    "",
    "12",
};
inline constexpr size_t HANDLER_DICTIONARY_SIZE = sizeof HANDLER_DICTIONARY / sizeof HANDLER_DICTIONARY[0];

// fuzz_walk_stop: the index image itself. Its bytes 0 and 1, which the
// decoder never reads, give the number of reports after which the stop flag
// is raised (0: raised before the walk).
inline constexpr size_t WALK_STOP_COUNT_SIZE = 2;

}  // namespace fuzz_input
