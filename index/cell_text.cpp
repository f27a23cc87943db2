#include <algorithm>
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

    // The bytes left in the current cell when it lies wholly inside the
    // image (0 at its end or past the image's), which Skip then consumes.
    size_t Rest(const uint8_t*& bytes) const {
        if (pos_ == CELL_TEXT_SIZE || file_.bytes == nullptr || file_.length < CELL_SIZE ||
            cellOffset_ > file_.length - CELL_SIZE)
            return 0;
        bytes = file_.bytes + cellOffset_ + pos_;
        return CELL_TEXT_SIZE - pos_;
    }
    void Skip(size_t n) { pos_ += n; }

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
    // Puts the leading printable ASCII bytes (0x20..0x7F) of bytes[0, n)
    // while they fit, polling stop after each as the byte-wise path does;
    // returns how many it put.
    size_t PutAscii(const uint8_t* bytes, size_t n, const std::atomic<int32_t>& stop) {
        if (IsFull()) return 0;
        // Each byte is one character of one byte: the run may fill what is left.
        const size_t room = std::min({n, size_ - 1 - len_, maxChars_ - chars_});
        char* at = out_ + len_;
        // Raised already, the flag lets one byte through, as the byte-wise
        // path does; raised during the run, it is seen after the run (at
        // most a cell's bytes later), which no reader can tell apart.
        const size_t most = IsStopped(stop) ? std::min<size_t>(room, 1) : room;
        size_t i = 0;
        while (i < most && bytes[i] >= FIRST_PRINTABLE && bytes[i] < 0x80) {
            at[i] = char(bytes[i]);
            ++i;
        }
        len_ += i;
        chars_ += i;
        out_[len_] = '\0';
        return i;
    }
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
    // A printable character went into the text without Take.
    void TookPrintable() { afterZero_ = false; }

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
    // Windows-1252 keeps ASCII as it is, and its decoder holds no state, so
    // those bytes (most of a Western disc's texts) skip the decoder, a
    // cell's run of printable ones at a time.
    const bool isWindows1252 = encoding == TextEncoding::WINDOWS_1252;
    uint8_t b;
    while (!text.IsFull()) {
        const uint8_t* run = nullptr;
        const size_t runSize = isWindows1252 ? chain.Rest(run) : 0;
        if (runSize > 0) {
            const size_t put = text.PutAscii(run, runSize, stop);
            if (put > 0) {
                chain.Skip(put);
                rules.TookPrintable();
                if (IsStopped(stop)) return;
                continue;
            }
        }
        if (!chain.Next(b)) {
            takeAll(decoder.Finish(chars));
            return;
        }
        size_t n = 1;
        if (isWindows1252 && b < 0x80)
            chars[0] = b;
        else
            n = decoder.Feed(b, chars);
        if (!takeAll(n) || IsStopped(stop)) return;
    }
}
