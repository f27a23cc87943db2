#include "text/line_writer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "text/utf8.h"

LineWriter::LineWriter(char* out, size_t size, size_t maxChars)
    : out_(out), size_(size), maxChars_(maxChars) {
    if (size_ > 0) out_[0] = '\0';
}

void LineWriter::Append(const char* text, size_t n) {
    if (IsFull()) return;
    size_t chars = 0;
    const size_t kept = Utf8CutLength(text, n, size_ - 1 - used_, maxChars_ - chars_, &chars);
    if (kept < n) isFull_ = true;
    std::memmove(out_ + used_, text, kept);
    chars_ += chars;
    used_ += kept;
    out_[used_] = '\0';
}

void LineWriter::Append(const char* text) { Append(text, std::strlen(text)); }

void LineWriter::Repeat(const char* text, size_t n, long amount) {
    if (n == 0) return;
    for (long i = 0; i < amount && !IsFull(); ++i) Append(text, n);
}

// The text is formatted in place when it fits the bytes left; a longer one
// is formatted whole elsewhere first, so that its cut can fall on a
// character boundary.
void LineWriter::Add(const char* format, ...) {
    if (IsFull()) return;
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int n = std::vsnprintf(out_ + used_, size_ - used_, format, args);
    va_end(args);
    if (n > 0 && size_t(n) < size_ - used_) {
        // Moving the text onto itself: Append then counts and cuts it.
        Append(out_ + used_, size_t(n));
    } else if (n > 0) {
        std::vector<char> whole(size_t(n) + 1);
        std::vsnprintf(whole.data(), whole.size(), format, again);
        Append(whole.data(), size_t(n));
    } else {
        out_[used_] = '\0';
    }
    va_end(again);
}
