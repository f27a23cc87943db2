#include <cstring>

#include "index/track_index.h"
#include "text/decoders.h"
#include "text/utf8.h"

namespace {

// Byte 0 of a chain's first cell names the text's encoding: 0x90 Shift-JIS,
// 0x84 UTF-16 big-endian; 0x05 (Latin-1) and any other value are read as
// Windows-1252, the code page a Western Windows shows those bytes in.
constexpr uint8_t ENCODING_SHIFT_JIS = 0x90;
constexpr uint8_t ENCODING_UTF16BE = 0x84;
constexpr char32_t TEXT_END = 0x05;  // ends a single-byte text
constexpr char32_t FIRST_PRINTABLE = 0x20;
constexpr size_t CELL_TEXT_SIZE = 14;  // bytes 0..13; the first cell's byte 0 is its encoding

TextEncoding EncodingOf(uint8_t b) {
    if (b == ENCODING_SHIFT_JIS) return TextEncoding::CP932;
    if (b == ENCODING_UTF16BE) return TextEncoding::UTF16BE;
    return TextEncoding::WINDOWS_1252;
}

// The text bytes of a string chain in chain order: bytes 1..13 of the first
// cell, then bytes 0..13 of each linked cell. A link of 0 ends the chain, and
// so does a link back to a cell already read: links reach only 4096 cells, so
// no chain yields more than 4097 cells' bytes whatever the file holds. The
// chain is one byte stream: a character's bytes may straddle two cells.
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

// Appends UTF-8 characters to a terminated text of at most maxChars
// characters in size bytes. The first character that does not fit ends the
// text, so it is cut on a character boundary and never skips a character.
class TextOut {
public:
    TextOut(char* out, size_t size, size_t maxChars) : out_(out), size_(size), maxChars_(maxChars) {
        len_ = Utf8CutLength(out, strnlen(out, size), size - 1, maxChars, &chars_);
        out_[len_] = '\0';
    }
    bool IsFull() const { return isFull_ || len_ + 1 >= size_ || chars_ >= maxChars_; }
    // False, and full from then on, when the character does not fit.
    bool Put(char32_t cp) {
        if (cp < 0x80 && len_ + 1 < size_ && chars_ < maxChars_) {
            out_[len_++] = char(cp);
            out_[len_] = '\0';
            ++chars_;
            return true;
        }
        char bytes[UTF8_MAX_CHAR_BYTES];
        const size_t n = EncodeUtf8(cp, bytes);
        if (n > size_ - 1 - len_ || chars_ >= maxChars_) {
            isFull_ = true;
            return false;
        }
        std::memcpy(out_ + len_, bytes, n);
        len_ += n;
        ++chars_;
        out_[len_] = '\0';
        return true;
    }

private:
    char* out_;
    size_t size_;
    size_t maxChars_;
    size_t len_;
    size_t chars_;
    bool isFull_ = false;
};

// The rules a decoded character meets on its way into the text; false once
// the text ends. Single-byte texts (Windows-1252, Shift-JIS): a zero ends
// the text when the next character is zero too, otherwise it is skipped;
// 0x05 ends the text. UTF-16 texts end at a zero character. In both, other
// control characters are dropped.
class TextRules {
public:
    explicit TextRules(TextEncoding encoding) : isWide_(encoding == TextEncoding::UTF16BE) {}

    bool Take(char32_t cp, TextOut& out) {
        if (cp == 0) {
            if (isWide_ || afterZero_) return false;
            afterZero_ = true;
            return true;
        }
        afterZero_ = false;
        if (cp == TEXT_END && !isWide_) return false;
        if (cp < FIRST_PRINTABLE) return true;
        return out.Put(cp);
    }

private:
    bool isWide_;
    bool afterZero_ = false;
};

}  // namespace

// The text is decoded into UTF-8, cut when the buffer or the character limit
// is reached and always terminated; the stop flag is polled after every
// byte. A character left unfinished when the chain ends gives U+FFFD; one
// left unfinished by the stop flag gives nothing, so a stopped walk yields a
// beginning of the whole text.
void ReadCellText(const TrackIndexFile& file, uint32_t cell, char* out, size_t outSize, size_t maxChars,
                  const std::atomic<int32_t>& stop) {
    if (out == nullptr || outSize == 0) return;
    TextOut text(out, outSize, maxChars);
    ChainBytes chain(file, cell);
    const TextEncoding encoding = EncodingOf(ImageByte(file, STRING_CELL_BASE + CELL_SIZE * size_t(cell)));
    TextDecoder decoder(encoding);
    TextRules rules(encoding);
    char32_t chars[TextDecoder::MAX_CHARS_PER_BYTE];
    auto takeAll = [&](size_t n) {
        for (size_t i = 0; i < n; ++i)
            if (!rules.Take(chars[i], text)) return false;
        return true;
    };
    uint8_t b;
    while (!text.IsFull()) {
        if (!chain.Next(b)) {
            takeAll(decoder.Finish(chars));
            return;
        }
        if (!takeAll(decoder.Feed(b, chars)) || IsStopped(stop)) return;
    }
}
