#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/format_settings.h"

// The words of the listing settings, each written once: the names of the
// listing modes, the texts of the sort keys and the names of the line
// format's tokens. The settings handler reads and writes them, the formatter
// matches slots against them and the option panel offers them.

inline constexpr char FULL_LISTING_TEXT[] = "Full Listing";
inline constexpr char GROUP_LISTING_TEXT[] = "Group Listing";

// The name of a listing mode; any value but GROUP_LISTING names the Full Listing.
const char* ListingModeText(ListingMode mode);

// The text of a SortKey in a listing mode: keys 7 to 10 have a group wording
// for the Group Listing, every other key one text. Null for a code outside
// 1..16.
const char* SortKeyText(uint32_t key, ListingMode mode);

// The SortKey that text names in either wording, compared as a whole and
// folding A-Z, read no further than limit bytes; 0 when it names none.
uint32_t SortKeyOfText(const char* text, size_t limit);

// What a slot with a token puts into a line.
enum class TokenWrites : uint8_t {
    NOTHING,
    TRACK_NUMBER,
    GROUP_NUMBER,
    GROUP_NAME,
    ARTIST,
    ALBUM,
    TITLE,
    TRACK_LENGTH,
    GROUP_LENGTH,
    MODE_NAME,      // the recording-mode name of the bit rate
    RECORDED,       // "YYYY-MM-DD HH:MM:SS", nothing for a track without one
    CUSTOM_TEXT,    // the slot's param, once
    REPEATED_TEXT,  // a text, as many times as the slot's param says
};

struct FormatToken {
    const char* name;  // the name a slot holds, matched folding A-Z
    TokenWrites writes;
    const char* repeated;  // REPEATED_TEXT: the text written; null: the name itself
    uint32_t modes;        // the listing modes whose format rows offer it (mode bits)
};

inline constexpr char NONE_TOKEN[] = "<None>";
inline constexpr char CUSTOM_TOKEN[] = "<Custom>";

constexpr uint32_t BOTH_LISTINGS = FULL_LISTING | GROUP_LISTING;

// Every token, in the order the format rows offer them.
inline constexpr FormatToken FORMAT_TOKENS[] = {
    {NONE_TOKEN, TokenWrites::NOTHING, nullptr, BOTH_LISTINGS},
    {"Group", TokenWrites::GROUP_NAME, nullptr, FULL_LISTING},
    {"Trk Number", TokenWrites::TRACK_NUMBER, nullptr, FULL_LISTING},
    {"Artist", TokenWrites::ARTIST, nullptr, FULL_LISTING},
    {"Album", TokenWrites::ALBUM, nullptr, FULL_LISTING},
    {"Title", TokenWrites::TITLE, nullptr, FULL_LISTING},
    {"Trk Length", TokenWrites::TRACK_LENGTH, nullptr, FULL_LISTING},
    {"Trk Format", TokenWrites::MODE_NAME, nullptr, FULL_LISTING},
    {"Grp Name", TokenWrites::GROUP_NAME, nullptr, GROUP_LISTING},
    {"Grp Number", TokenWrites::GROUP_NUMBER, nullptr, GROUP_LISTING},
    {"Grp Length", TokenWrites::GROUP_LENGTH, nullptr, GROUP_LISTING},
    {"{", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"}", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"-", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"(", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {")", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"[", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"]", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"|", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {":", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"\\", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    {"/", TokenWrites::REPEATED_TEXT, nullptr, BOTH_LISTINGS},
    // "<CR>" writes a line feed alone.
    {"<CR>", TokenWrites::REPEATED_TEXT, "\n", BOTH_LISTINGS},
    {"<CRLF>", TokenWrites::REPEATED_TEXT, "\r\n", BOTH_LISTINGS},
    {"<Space>", TokenWrites::REPEATED_TEXT, " ", BOTH_LISTINGS},
    {"<TAB>", TokenWrites::REPEATED_TEXT, "\t", BOTH_LISTINGS},
    {"<Comma>", TokenWrites::REPEATED_TEXT, ",", BOTH_LISTINGS},
    {CUSTOM_TOKEN, TokenWrites::CUSTOM_TEXT, nullptr, BOTH_LISTINGS},
    // Offered after the others, so every older item keeps its place.
    {"Rec Date", TokenWrites::RECORDED, nullptr, FULL_LISTING},
};
inline constexpr size_t FORMAT_TOKEN_COUNT = sizeof FORMAT_TOKENS / sizeof FORMAT_TOKENS[0];

// How many tokens the format rows of a listing mode offer.
constexpr size_t TokenCountIn(ListingMode mode) {
    size_t n = 0;
    for (const FormatToken& t : FORMAT_TOKENS) n += (t.modes & mode) != 0;
    return n;
}

// The token that a slot's token text names (read no further than limit
// bytes, folding A-Z), or null: a text that names no token is written as
// it stands, repeated.
const FormatToken* FindFormatToken(const char* text, size_t limit);
