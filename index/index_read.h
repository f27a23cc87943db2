#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Reading an index file into the image the decoder walks, bounded: no more
// than a limit is read whatever the file's size, and zero padding follows
// the bytes. The file access is an IndexFileSource's (Win32 for the scan
// worker, std::ifstream for tavolin-list, a fake in the tests).

class IndexFileSource {
public:
    virtual ~IndexFileSource() = default;
    // The file's size in bytes; false when it can't be had.
    virtual bool Size(uint64_t& size) = 0;
    // Reads up to n bytes from the start into bytes; false when the read
    // fails. got receives the bytes that arrived (fewer than n at the end).
    virtual bool Read(uint8_t* bytes, size_t n, size_t& got) = 0;
};

enum class IndexReadResult {
    WHOLE,       // every byte asked for arrived: the file, or its first limit bytes
    SHORT,       // fewer bytes arrived than the size promised, the rest is zero
    UNREADABLE,  // the size or the read failed, or nothing arrived: an all-zero image
    NO_MEMORY,   // no image could be had; image is empty
};

// Reads min(size, limit) bytes of the file into image, followed by padding
// zero bytes. When the size can't be had the image is padding alone.
IndexReadResult ReadIndexImage(IndexFileSource& source, uint32_t limit, uint32_t padding,
                               std::vector<uint8_t>& image);
