#pragma once
#include <cstddef>
#include <cstdint>

// Appends UTF-8 text to a fixed buffer of size bytes that holds at most
// maxChars characters, cutting what does not fit on a character boundary:
// the buffer always holds a terminated text (when size is not 0) and is
// never written past. Once a piece has been cut the line is full, so no
// later, shorter piece follows a cut one. The decoder's display lines and
// the format lines both write through it.
class LineWriter {
public:
    // Starts an empty text in out.
    LineWriter(char* out, size_t size, size_t maxChars = SIZE_MAX);

    // True once no further character fits.
    bool IsFull() const { return isFull_ || used_ + 1 >= size_ || chars_ >= maxChars_; }
    // Bytes written, without the terminator.
    size_t Length() const { return used_; }
    // Characters written.
    size_t Chars() const { return chars_; }

    void Append(const char* text, size_t n);
    void Append(const char* text);
    // Appends n bytes of text amount times, stopping as soon as the line is
    // full, so no amount can run long; a negative amount writes nothing.
    void Repeat(const char* text, size_t n, long amount);
    // Appends printf-style formatted text.
    [[gnu::format(printf, 2, 3)]] void Add(const char* format, ...);

private:
    char* out_;
    size_t size_;
    size_t maxChars_;
    size_t used_ = 0;
    size_t chars_ = 0;
    bool isFull_ = false;
};
