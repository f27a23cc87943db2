#pragma once
#include <cstddef>
#include <cstdint>

// A track index file held whole in memory. Every field is decoded from this
// image through accessors that know its length: a read past the end yields 0.
struct TrackIndexFile {
    const uint8_t* bytes;
    size_t length;
};
