// The decoders against glibc's iconv, the source the code page 932 table is
// generated from: every byte and every lead/trail pair of code page 932 and
// every byte of Windows-1252.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <string>
#include <vector>

#include "text/decoders.h"
#include "text/utf8.h"

namespace {

using Chars = std::vector<char32_t>;

// The one character iconv makes of the bytes, or nothing.
Chars Iconv(iconv_t cd, std::vector<uint8_t> bytes) {
    char32_t out[2] = {};
    char* in = reinterpret_cast<char*>(bytes.data());
    char* at = reinterpret_cast<char*>(out);
    size_t inLeft = bytes.size(), outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &inLeft, &at, &outLeft) == size_t(-1) || inLeft != 0) return {};
    if (outLeft != sizeof out - sizeof(char32_t)) return {};
    return {out[0]};
}

Chars Decode(TextEncoding encoding, const std::vector<uint8_t>& bytes) {
    TextDecoder decoder(encoding);
    Chars chars;
    char32_t out[TextDecoder::MAX_CHARS_PER_BYTE];
    for (uint8_t b : bytes) chars.insert(chars.end(), out, out + decoder.Feed(b, out));
    chars.insert(chars.end(), out, out + decoder.Finish(out));
    return chars;
}

template <typename T>
std::string Hex(const std::vector<T>& values, const char* format) {
    std::string text;
    char piece[16];
    for (T v : values) {
        std::snprintf(piece, sizeof piece, format, unsigned(v));
        text += piece;
    }
    return text;
}

// Counts differences, naming the first few.
class Differences {
public:
    void Check(const std::vector<uint8_t>& bytes, const Chars& got, const Chars& want) {
        if (got == want || ++count_ > 10) return;
        ADD_FAILURE() << "bytes" << Hex(bytes, " %02X") << ": got" << Hex(got, " U+%04X") << ", want"
                      << Hex(want, " U+%04X");
    }
    size_t Count() const { return count_; }

private:
    size_t count_ = 0;
};

// Whatever iconv gives no character for is U+FFFD; a lead byte whose next
// byte cannot make a pair with it is U+FFFD and the next byte is read alone.
TEST(DecodersAgainstIconv, Cp932EveryByteAndPair) {
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    ASSERT_NE(cd, iconv_t(-1)) << "glibc's CP932 converter";
    auto alone = [&](uint8_t b) {
        const Chars c = IsCp932Lead(b) ? Chars{} : Iconv(cd, {b});
        return c.empty() ? Chars{REPLACEMENT_CHARACTER} : c;
    };
    Differences differences;
    for (unsigned b = 0; b < 256; ++b)
        differences.Check({uint8_t(b)}, Decode(TextEncoding::CP932, {uint8_t(b)}), alone(uint8_t(b)));
    size_t pairs = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsCp932Lead(uint8_t(lead))) continue;
        for (unsigned next = 0; next < 256; ++next) {
            const std::vector<uint8_t> bytes = {uint8_t(lead), uint8_t(next)};
            Chars want = Iconv(cd, bytes);
            pairs += !want.empty();
            if (want.empty() && IsCp932Trail(uint8_t(next))) want = {REPLACEMENT_CHARACTER};
            if (want.empty()) {
                want = {REPLACEMENT_CHARACTER};
                for (char32_t c : alone(uint8_t(next))) want.push_back(c);
            }
            differences.Check(bytes, Decode(TextEncoding::CP932, bytes), want);
        }
    }
    iconv_close(cd);
    EXPECT_EQ(differences.Count(), 0u);
    EXPECT_GT(pairs, 7000u) << "iconv's CP932 knows the pairs";
    // The rules that hold whatever the source says.
    EXPECT_EQ(Decode(TextEncoding::CP932, {0x5C, 0x7E}), (Chars{'\\', '~'}));
    EXPECT_EQ(Decode(TextEncoding::CP932, {0x80, 0xA0, 0xFD}), (Chars(3, REPLACEMENT_CHARACTER)));
}

// The five bytes the code page leaves undefined stand for C1 characters.
TEST(DecodersAgainstIconv, Windows1252EveryByte) {
    iconv_t cd = iconv_open("UTF-32LE", "CP1252");
    ASSERT_NE(cd, iconv_t(-1)) << "glibc's CP1252 converter";
    Differences differences;
    std::vector<unsigned> undefined;
    for (unsigned b = 0; b < 256; ++b) {
        Chars want = Iconv(cd, {uint8_t(b)});
        if (want.empty()) undefined.push_back(b), want = {char32_t(b)};
        differences.Check({uint8_t(b)}, Decode(TextEncoding::WINDOWS_1252, {uint8_t(b)}), want);
    }
    iconv_close(cd);
    EXPECT_EQ(differences.Count(), 0u);
    EXPECT_EQ(undefined, (std::vector<unsigned>{0x81, 0x8D, 0x8F, 0x90, 0x9D}));
}

}  // namespace
