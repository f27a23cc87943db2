#include "app/caption.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string PROGRAM = PROGRAM_TITLE;
const std::string TAIL = "'  ---- " + PROGRAM;

TEST(Caption, ProgramTitleNamesTavolinAndItsVersion) {
    EXPECT_EQ(PROGRAM.rfind("Tavolin - 0.04 - ", 0), 0u) << PROGRAM;
    EXPECT_GT(PROGRAM.size(), std::strlen("Tavolin - 0.04 - "));
}

TEST(Caption, DiscTitleAndProgramTitle) {
    const size_t room = CAPTION_CHARS - 1 - TAIL.size();  // disc title characters that fit whole
    // Characters of three bytes each.
    std::string han, cutHan;
    for (size_t i = 0; i < 511; ++i) han += "\u65E5";
    for (size_t i = 0; i < room - 3; ++i) cutHan += "\u65E5";
    const struct {
        const char* name;
        std::string discTitle;
        std::string expected;
    } rows[] = {
        {"plain", "Party", std::string("'Party") + TAIL},
        {"empty title", "", std::string("'") + TAIL},
        {"bytes above 0x7F pass unchanged", "Caf\xE9 \xFF", std::string("'Caf\xE9 \xFF") + TAIL},
        {"fits exactly", std::string(room, 'a'), std::string("'") + std::string(room, 'a') + TAIL},
        // One character too many: the title gives way to the cut mark.
        {"one over", std::string(room + 1, 'b'),
         std::string("'") + std::string(room - 3, 'b') + CAPTION_CUT_MARK + TAIL},
        // The longest title a scan reports.
        {"511 characters", std::string(511, 'c'),
         std::string("'") + std::string(room - 3, 'c') + CAPTION_CUT_MARK + TAIL},
        {"511 characters of three bytes", han, "'" + cutHan + CAPTION_CUT_MARK + TAIL},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        char out[CAPTION_SIZE];
        std::memset(out, 0x5A, sizeof out);
        const size_t n = ComposeCaption(row.discTitle.c_str(), PROGRAM_TITLE, out, sizeof out);
        EXPECT_EQ(std::string(out), row.expected);
        EXPECT_EQ(n, row.expected.size());
        EXPECT_LE(n, CAPTION_SIZE - 1);
    }
}

TEST(Caption, SmallBuffersStayTerminated) {
    for (size_t size : {size_t(1), size_t(2), size_t(10), TAIL.size()}) {
        SCOPED_TRACE(size);
        char out[CAPTION_SIZE + 1];
        std::memset(out, 0x5A, sizeof out);
        const size_t n = ComposeCaption("A long disc title", PROGRAM_TITLE, out, size);
        EXPECT_EQ(n, std::strlen(out));
        EXPECT_LT(n, size);
        EXPECT_EQ(out[size], 0x5A) << "wrote past the buffer";
    }
}

}  // namespace
