// The panel's value rules: item splitting, matching, the numeric check and
// which choices become active after a change or a load.
#include "panel/option_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(const char* text) {
    std::vector<std::string> out;
    ItemCursor cursor(text);
    char item[ITEM_TEXT_MAX + 1];
    while (cursor.Next(item)) out.push_back(item);
    return out;
}

TEST(OptionValues, ItemsSplitAtCommasAndCutAt63) {
    const std::string long64(64, 'x');
    const std::string list = "a," + long64 + ",b";
    const std::string euros = std::string(61, 'x') + "\u20AC,b";  // the euro sign's 3 bytes straddle byte 63
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"null", nullptr, {}},
        {"empty", "", {}},
        {"one", "Full Listing", {"Full Listing"}},
        {"in order", "Full Listing,Group Listing", {"Full Listing", "Group Listing"}},
        {"empty items between commas", ",x,", {"", "x", ""}},
        {"backslash is an item", "/,\\,<CR>", {"/", "\\", "<CR>"}},
        {"64 characters cut to 63, the next item intact", list.c_str(), {"a", std::string(63, 'x'), "b"}},
        {"cut before a character that does not fit whole", euros.c_str(), {std::string(61, 'x'), "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Items(c.text), c.items);
    }
}

TEST(OptionValues, Matching) {
    struct Case {
        const char* text;
        const char* value;
        bool exact, matches;
    };
    const Case cases[] = {
        {"<CRLF>", "<CRL", false, true},  // containment
        {"<CRLF>", "<CRL", true, false},
        // "<CR>" ends in '>', so it is no part of "<CRLF>".
        {"<CRLF>", "<CR>", false, false},
        {"<CR>", "<CR>", true, true},
        {"<cr>", "<CR>", false, false},  // case-sensitive both ways
        {"<cr>", "<CR>", true, false},
        {"Artist", "", false, false},  // the empty value selects nothing
        {"", "", true, true},
        {"Artist", "Artist (Ascending Order)", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" / \"" << c.value << "\" exact " << c.exact);
        EXPECT_EQ(ValueMatches(c.text, c.value, c.exact), c.matches);
    }
}

TEST(OptionValues, NumericCheck) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"0", true},
        {"12", true},
        {"  7", true},
        {"+3", true},
        {"-0", true},
        {"-", false},
        {"-1", false},
        {"1a", false},
        {"12 ", false},
        {" ", false},
        {"+", false},
        {"0x10", false},
        {"1.5", false},
        // Out of range: the conversion saturates and keeps the sign.
        {"99999999999999999999", true},
        {"-99999999999999999999", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        EXPECT_EQ(IsNonNegativeInteger(c.text), c.valid);
    }
}

std::vector<OptionChoice> Choices(const std::vector<const char*>& texts, const std::vector<int>& active) {
    static OptionRow none[] = {{}};
    std::vector<OptionChoice> out;
    for (size_t i = 0; i < texts.size(); ++i) out.push_back({texts[i], none, active[i]});
    out.push_back({nullptr, nullptr, 0});
    return out;
}

std::vector<int> Flags(const std::vector<OptionChoice>& choices) {
    std::vector<int> out;
    for (const OptionChoice& c : choices) {
        if (c.child != nullptr) out.push_back(c.active);
    }
    return out;
}

// A change through the panel: whole text, case ignored; "changed" decides
// whether a rebuild is asked for.
TEST(OptionValues, ActivateMatchingChoice) {
    const std::vector<const char*> tokens = {"<None>", "{", "-", "<CR>", "<CRLF>", "<Custom>"};
    struct Case {
        const char* name;
        std::vector<int> before;
        const char* value;
        std::vector<int> after;
        bool changed;
    };
    const std::vector<Case> cases = {
        {"another token", {1, 0, 0, 0, 0, 0}, "<CRLF>", {0, 0, 0, 0, 1, 0}, true},
        {"the token already active", {0, 0, 0, 0, 1, 0}, "<CRLF>", {0, 0, 0, 0, 1, 0}, false},
        {"\"-\" after \"{\" (same child table)", {0, 1, 0, 0, 0, 0}, "-", {0, 0, 1, 0, 0, 0}, true},
        {"case ignored", {1, 0, 0, 0, 0, 0}, "<custom>", {0, 0, 0, 0, 0, 1}, true},
        {"whole text only", {0, 0, 0, 1, 1, 0}, "<CR>", {0, 0, 0, 1, 0, 0}, true},
        {"no match clears all", {1, 0, 0, 0, 0, 0}, "x", {0, 0, 0, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<OptionChoice> choices = Choices(tokens, c.before);
        EXPECT_EQ(ActivateMatchingChoice(choices.data(), c.value), c.changed);
        EXPECT_EQ(Flags(choices), c.after);
    }
}

// After a load: containment marks several; no match keeps the last choice
// that was active, or the first when none was.
TEST(OptionValues, MarkChoiceList) {
    const std::vector<const char*> tokens = {"<None>", "-", "<CR>", "<CRLF>", "<Custom>"};
    struct Case {
        const char* name;
        std::vector<int> before;
        const char* value;
        bool exact;
        std::vector<int> after;
    };
    const std::vector<Case> cases = {
        {"contained in three", {1, 0, 0, 0, 0}, "<C", false, {0, 0, 1, 1, 1}},
        {"exact marks none of them", {1, 0, 0, 0, 0}, "<C", true, {1, 0, 0, 0, 0}},
        {"\"<CR>\" is in \"<CR>\" only", {1, 0, 0, 0, 0}, "<CR>", false, {0, 0, 1, 0, 0}},
        {"no match keeps the active one", {0, 1, 0, 0, 0}, "Grp Name", false, {0, 1, 0, 0, 0}},
        {"no match keeps the last of several", {0, 0, 1, 1, 0}, "zzz", false, {0, 0, 0, 1, 0}},
        {"no match and none active: the first", {0, 0, 0, 0, 0}, "zzz", false, {1, 0, 0, 0, 0}},
        {"the empty value matches nothing", {0, 0, 0, 0, 1}, "", false, {0, 0, 0, 0, 1}},
        {"case-sensitive", {1, 0, 0, 0, 0}, "<custom>", false, {1, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<OptionChoice> choices = Choices(tokens, c.before);
        MarkChoiceList(choices.data(), c.value, c.exact);
        EXPECT_EQ(Flags(choices), c.after);
    }
    // An empty list has no first choice to fall back on.
    OptionChoice empty[] = {{nullptr, nullptr, 0}};
    MarkChoiceList(empty, "x", false);
    EXPECT_EQ(empty[0].active, 0);
}

}  // namespace
