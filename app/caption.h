#pragma once
#include <cstddef>

#include "text/utf8.h"

// The program title: the main window's first caption and the tail of every
// caption after a disc title arrives.
extern const char PROGRAM_TITLE[];

// The caption after a disc title holds at most CAPTION_CHARS characters; it
// is composed in a buffer of CAPTION_SIZE bytes, which holds that many of
// any kind in UTF-8.
constexpr size_t CAPTION_CHARS = 387;
constexpr size_t CAPTION_SIZE = Utf8Size(CAPTION_CHARS);

// Shown in place of the end of a disc title that had to be cut.
constexpr char CAPTION_CUT_MARK[] = "...";

// Writes "'<disc title>'  ---- <program title>" into out (size bytes, always
// terminated). When it does not fit, the disc title is cut on a character
// boundary and ends in CAPTION_CUT_MARK, so the closing quote and the
// program title stay whole. Returns the length written in bytes.
size_t ComposeCaption(const char* discTitle, const char* programTitle, char* out, size_t size);
