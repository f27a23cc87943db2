#include "index/line_writer.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

LineWriter::LineWriter(char* out, size_t size) : out_(out), size_(size) {
    if (size_ > 0) out_[0] = '\0';
}

void LineWriter::Append(const char* text, size_t n) {
    if (IsFull()) return;
    const size_t room = size_ - 1 - used_;
    if (n > room) n = room;
    std::memcpy(out_ + used_, text, n);
    used_ += n;
    out_[used_] = '\0';
}

void LineWriter::Append(const char* text) { Append(text, std::strlen(text)); }

void LineWriter::Repeat(const char* text, size_t n, long amount) {
    if (n == 0) return;
    for (long i = 0; i < amount && !IsFull(); ++i) Append(text, n);
}

void LineWriter::Add(const char* format, ...) {
    if (IsFull()) return;
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(out_ + used_, size_ - used_, format, args);
    va_end(args);
    if (n > 0) used_ = size_t(n) > size_ - 1 - used_ ? size_ - 1 : used_ + size_t(n);
}
