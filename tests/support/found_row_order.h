// The order the catalogue window's columns sort in, written out in C++ as a
// reference for the store's SQL order, which the tests compare with it.
#pragma once
#include "catalogue/found_rows.h"
#include "listing/compare_tracks.h"

namespace found_row_order {

// -1, 0, 1 as a is before, with or after b.
template <class T>
int Order(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

inline int CompareColumn(const FoundRow& a, const FoundRow& b, int column) {
    switch (column) {
    case FOUND_DISC: return CompareText(a.discTitle.c_str(), b.discTitle.c_str(), 0);
    case FOUND_NUMBER: return Order(a.number, b.number);
    case FOUND_ARTIST: return CompareText(a.artist.c_str(), b.artist.c_str(), 0);
    case FOUND_ALBUM: return CompareText(a.album.c_str(), b.album.c_str(), 0);
    case FOUND_TITLE: return CompareText(a.title.c_str(), b.title.c_str(), 0);
    case FOUND_LENGTH: return Order(a.length, b.length);
    case FOUND_MODE: return Order(a.bitrate, b.bitrate);
    case FOUND_RECORDED: return Order(a.recorded, b.recorded);
    default: return 0;
    }
}

}  // namespace found_row_order

// Orders rows by the column: texts A-Z folded, numbers, lengths and times by
// value, modes by bitrate; ties by disc title, disc and track number, so an
// order is the same every time.
inline bool FoundRowLess(const FoundRow& a, const FoundRow& b, int column) {
    int order = found_row_order::CompareColumn(a, b, column);
    if (order == 0) order = CompareText(a.discTitle.c_str(), b.discTitle.c_str(), 0);
    if (order == 0) order = found_row_order::Order(a.discId, b.discId);
    if (order == 0) order = found_row_order::Order(a.number, b.number);
    return order < 0;
}
