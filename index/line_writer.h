#pragma once
#include <cstddef>

// Appends text to a fixed buffer of size bytes, cutting what does not fit:
// the buffer always holds a terminated text (when size is not 0) and is never
// written past. The decoder's display lines and the format lines both write
// through it.
class LineWriter {
public:
    // Starts an empty text in out.
    LineWriter(char* out, size_t size);

    // True once no further character fits.
    bool IsFull() const { return used_ + 1 >= size_; }
    // Characters written, without the terminator.
    size_t Length() const { return used_; }

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
    size_t used_ = 0;
};
