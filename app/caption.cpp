#include "app/caption.h"

#include <cstring>

#include "tavolin_version.h"

const char PROGRAM_TITLE[] = "Tavolin - " TAVOLIN_VERSION " - https://tavolin.example/";

namespace {
constexpr char OPEN_QUOTE[] = "'";
constexpr char SEPARATOR[] = "'  ---- ";

// Appends at most room - 1 bytes of text at out + *length, keeping out
// terminated.
void Append(char* out, size_t size, size_t* length, const char* text, size_t n) {
    const size_t room = size - 1 - *length;
    if (n > room) n = room;
    std::memcpy(out + *length, text, n);
    *length += n;
    out[*length] = '\0';
}
}  // namespace

// A disc title may be 511 characters long while the caption holds 387, so the
// title gives way: the program title is what tells the user which program the
// window belongs to, and the cut mark says that the title goes on.
size_t ComposeCaption(const char* discTitle, const char* programTitle, char* out, size_t size) {
    if (size == 0) return 0;
    out[0] = '\0';
    size_t length = 0;
    const size_t titleLength = std::strlen(discTitle);
    const size_t tailLength = std::strlen(SEPARATOR) + std::strlen(programTitle);
    const size_t fixed = std::strlen(OPEN_QUOTE) + tailLength;
    const size_t capacity = size - 1;

    Append(out, size, &length, OPEN_QUOTE, std::strlen(OPEN_QUOTE));
    if (fixed + titleLength <= capacity) {
        Append(out, size, &length, discTitle, titleLength);
    } else {
        const size_t markLength = std::strlen(CAPTION_CUT_MARK);
        const size_t kept = capacity > fixed + markLength ? capacity - fixed - markLength : 0;
        Append(out, size, &length, discTitle, kept < titleLength ? kept : titleLength);
        Append(out, size, &length, CAPTION_CUT_MARK, markLength);
    }
    Append(out, size, &length, SEPARATOR, std::strlen(SEPARATOR));
    Append(out, size, &length, programTitle, std::strlen(programTitle));
    return length;
}
