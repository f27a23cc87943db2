#pragma once
#include <cstddef>

// The program title: the main window's first caption and the tail of every
// caption after a disc title arrives.
extern const char PROGRAM_TITLE[];

// The caption after a disc title is composed in a buffer of this size.
constexpr size_t CAPTION_SIZE = 388;

// Shown in place of the end of a disc title that had to be cut.
constexpr char CAPTION_CUT_MARK[] = "...";

// Writes "'<disc title>'  ---- <program title>" into out (size bytes, always
// terminated). When it does not fit, the disc title is cut and ends in
// CAPTION_CUT_MARK, so the closing quote and the program title stay whole.
// Returns the length written.
size_t ComposeCaption(const char* discTitle, const char* programTitle, char* out, size_t size);
