#include "index/index_read.h"

#include <algorithm>
#include <new>

// A read that fails part-way may have left bytes behind; they are cleared,
// so that the decoder sees the same image as for a file it could not read.
IndexReadResult ReadIndexImage(IndexFileSource& source, uint32_t limit, uint32_t padding,
                               std::vector<uint8_t>& image) {
    uint64_t size = 0;
    const bool isSized = source.Size(size);
    const size_t toRead = isSized ? size_t(std::min<uint64_t>(size, limit)) : 0;
    image.clear();
    try {
        image.assign(toRead + padding, 0);
    } catch (const std::bad_alloc&) {
        image = std::vector<uint8_t>();
        return IndexReadResult::NO_MEMORY;
    }
    if (!isSized) return IndexReadResult::UNREADABLE;
    size_t got = 0;
    if (!source.Read(image.data(), toRead, got) || got > toRead || (got == 0 && toRead > 0)) {
        std::fill(image.begin(), image.end(), uint8_t(0));
        return IndexReadResult::UNREADABLE;
    }
    return got == toRead ? IndexReadResult::WHOLE : IndexReadResult::SHORT;
}
