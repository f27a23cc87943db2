#include <cstring>

#include "index/track_index.h"

namespace {

// Byte 0 of a chain's first cell names the text's encoding: 0x84 is UTF-16
// big-endian; Latin-1 (0x05), Shift-JIS (0x90) and any other value are read
// byte by byte.
constexpr uint8_t ENCODING_UTF16BE = 0x84;
constexpr uint8_t TEXT_END = 0x05;  // ends a single-byte text
constexpr uint8_t FIRST_PRINTABLE = 0x20;
constexpr size_t CELL_TEXT_SIZE = 14;  // bytes 0..13; the first cell's byte 0 is its encoding

// The text bytes of a string chain in chain order: bytes 1..13 of the first
// cell, then bytes 0..13 of each linked cell. A link of 0 ends the chain, and
// so does a link back to a cell already read: links reach only 4096 cells, so
// no chain yields more than 4097 cells' bytes whatever the file holds.
class ChainBytes {
public:
    ChainBytes(const TrackIndexFile& file, uint32_t cell) : file_(file) {
        cellOffset_ = STRING_CELL_BASE + CELL_SIZE * size_t(cell);
        visited_.Mark(cell);
    }

    bool Next(uint8_t& b) {
        if (pos_ == CELL_TEXT_SIZE) {
            const uint16_t link = LinkOfCell(file_, cellOffset_);
            if (link == 0 || visited_.IsMarked(link)) return false;
            visited_.Mark(link);
            cellOffset_ = STRING_CELL_BASE + CELL_SIZE * size_t(link);
            pos_ = 0;
        }
        b = ImageByte(file_, cellOffset_ + pos_++);
        return true;
    }

private:
    const TrackIndexFile& file_;
    size_t cellOffset_;
    size_t pos_ = 1;
    VisitedCells visited_;
};

// Appends to a terminated text; false once the buffer is full.
class TextOut {
public:
    TextOut(char* out, size_t size) : out_(out), size_(size) {
        len_ = strnlen(out, size);
        if (len_ == size) out_[--len_] = '\0';
    }
    bool IsFull() const { return len_ + 1 >= size_; }
    void Put(uint8_t c) {
        out_[len_++] = char(c);
        out_[len_] = '\0';
    }

private:
    char* out_;
    size_t size_;
    size_t len_;
};

// Latin-1, Shift-JIS and unknown encodings: bytes as they stand. A zero byte
// ends the text when the next byte is zero too or the chain ends; otherwise
// it is skipped. 0x05 ends the text; other control bytes are dropped.
void ReadSingleByteText(ChainBytes& chain, TextOut& out, const std::atomic<int32_t>& stop) {
    bool afterZero = false;
    uint8_t b;
    while (!out.IsFull() && chain.Next(b)) {
        if (b == 0) {
            if (afterZero) return;
            afterZero = true;
        } else {
            afterZero = false;
            if (b == TEXT_END) return;
            if (b >= FIRST_PRINTABLE) out.Put(b);
        }
        if (IsStopped(stop)) return;
    }
}

// UTF-16 big-endian, two chain bytes per character (a pair may straddle two
// cells). Characters up to 0xFF are written as that byte, any other as '?';
// each half of a surrogate pair counts as one such character.
void ReadUtf16Text(ChainBytes& chain, TextOut& out, const std::atomic<int32_t>& stop) {
    uint8_t hi, lo;
    while (!out.IsFull() && chain.Next(hi) && chain.Next(lo)) {
        const uint16_t ch = uint16_t(hi << 8 | lo);
        if (ch == 0) return;
        if (ch >= FIRST_PRINTABLE) out.Put(ch <= 0xFF ? uint8_t(ch) : uint8_t('?'));
        if (IsStopped(stop)) return;
    }
}

}  // namespace

// The text is cut when the buffer is full and always terminated; the stop
// flag is polled after every byte or character.
void ReadCellText(const TrackIndexFile& file, uint32_t cell, char* out, size_t outSize,
                  const std::atomic<int32_t>& stop) {
    if (out == nullptr || outSize == 0) return;
    TextOut text(out, outSize);
    ChainBytes chain(file, cell);
    const uint8_t encoding = ImageByte(file, STRING_CELL_BASE + CELL_SIZE * size_t(cell));
    if (encoding == ENCODING_UTF16BE) {
        ReadUtf16Text(chain, text, stop);
    } else {
        ReadSingleByteText(chain, text, stop);
    }
}
