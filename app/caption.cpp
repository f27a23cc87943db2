#include "app/caption.h"

#include <cstring>

#include "tavolin_version.h"
#include "text/utf8.h"

const char PROGRAM_TITLE[] = "Tavolin - " TAVOLIN_VERSION " - https://tavolin.example/";

namespace {
constexpr char OPEN_QUOTE[] = "'";
constexpr char SEPARATOR[] = "'  ---- ";

// A piece of the caption: its bytes and its characters.
struct Piece {
    const char* text;
    size_t bytes;
    size_t chars;
};

Piece PieceOf(const char* text) {
    const size_t bytes = std::strlen(text);
    return {text, bytes, CountUtf8Chars(text, bytes)};
}

// Appends as much of the piece as fits before the buffer's last byte and
// within CAPTION_CHARS characters, cut on a character boundary.
void Append(char* out, size_t size, size_t& length, size_t& chars, const Piece& piece) {
    const size_t n = Utf8CutLength(piece.text, piece.bytes, size - 1 - length, CAPTION_CHARS - chars);
    std::memcpy(out + length, piece.text, n);
    length += n;
    chars += CountUtf8Chars(piece.text, n);
    out[length] = '\0';
}
}  // namespace

// A disc title may be 511 characters long while the caption holds 387, so the
// title gives way: the program title is what tells the user which program the
// window belongs to, and the cut mark says that the title goes on. The title
// is cut on a character boundary.
size_t ComposeCaption(const char* discTitle, const char* programTitle, char* out, size_t size) {
    if (size == 0) return 0;
    out[0] = '\0';
    size_t length = 0, chars = 0;
    Piece title = PieceOf(discTitle);
    const Piece quote = PieceOf(OPEN_QUOTE), separator = PieceOf(SEPARATOR), program = PieceOf(programTitle);
    const Piece mark = PieceOf(CAPTION_CUT_MARK);
    const size_t fixedBytes = quote.bytes + separator.bytes + program.bytes;
    const size_t fixedChars = quote.chars + separator.chars + program.chars;
    const size_t capacity = size - 1;

    Append(out, size, length, chars, quote);
    const bool isWhole = fixedBytes + title.bytes <= capacity && fixedChars + title.chars <= CAPTION_CHARS;
    if (!isWhole) {
        const size_t roomBytes = capacity > fixedBytes + mark.bytes ? capacity - fixedBytes - mark.bytes : 0;
        const size_t roomChars =
            CAPTION_CHARS > fixedChars + mark.chars ? CAPTION_CHARS - fixedChars - mark.chars : 0;
        title.bytes = Utf8CutLength(title.text, title.bytes, roomBytes, roomChars);
    }
    Append(out, size, length, chars, title);
    if (!isWhole) Append(out, size, length, chars, mark);
    Append(out, size, length, chars, separator);
    Append(out, size, length, chars, program);
    return length;
}
