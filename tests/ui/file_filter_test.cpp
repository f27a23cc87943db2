#include "ui/file_filter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The filter as the dialogs read it: entries of text and pattern up to the
// first empty string. The whole area must stay within its size.
std::vector<std::string> Entries(const char* filter, size_t size) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < size && filter[at] != '\0') {
        const std::string part(filter + at);
        out.push_back(part);
        at += part.size() + 1;
    }
    return out;
}

TEST(FileFilter, OneEntryOfDisplayTextAndPattern) {
    struct Row {
        const char* typeText;
        const char* extension;
        std::vector<std::string> entries;
    };
    const Row rows[] = {
        {"Text File", ".txt", {"Text File (*.txt)", "*.txt"}},
        {"Tavolin Format Config File", ".tfc", {"Tavolin Format Config File (*.tfc)", "*.tfc"}},
        {"", "", {" (*)", "*"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typeText);
        char filter[FILE_FILTER_SIZE];
        memset(filter, 'Q', sizeof filter);
        BuildFileFilter(filter, sizeof filter, row.typeText, row.extension);
        EXPECT_EQ(Entries(filter, sizeof filter), row.entries);
        // Everything after the pattern is zero: the list ends there.
        size_t end = 0;
        for (const std::string& e : row.entries) end += e.size() + 1;
        for (size_t i = end; i < sizeof filter; i++) ASSERT_EQ(filter[i], '\0') << i;
    }
}

// Texts longer than the area are cut inside it; the pattern stays whole
// while it fits, and the two closing zeros always remain.
TEST(FileFilter, OverlongTextsAreCutInsideTheArea) {
    struct Row {
        const char* name;
        std::string typeText;
        std::string extension;
        std::string display;
        std::string pattern;
    };
    const Row rows[] = {
        // 255 = display + zero + "*.txt" + two zeros: 247 display characters.
        {"long type text", std::string(400, 'T'), ".txt", std::string(247, 'T'), "*.txt"},
        {"display one too long", std::string(240, 'T'), ".txt", std::string(240, 'T') + " (*.txt", "*.txt"},
        {"display just fits", std::string(239, 'T'), ".txt", std::string(239, 'T') + " (*.txt)", "*.txt"},
        {"long extension", "Type", std::string(300, 'e'), "T", "*" + std::string(250, 'e')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        char area[FILE_FILTER_SIZE + 8];
        memset(area, 'G', sizeof area);  // guard bytes after the filter area
        BuildFileFilter(area, FILE_FILTER_SIZE, row.typeText.c_str(), row.extension.c_str());
        const std::vector<std::string> entries = Entries(area, FILE_FILTER_SIZE);
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0], row.display);
        EXPECT_EQ(entries[1], row.pattern);
        EXPECT_EQ(area[FILE_FILTER_SIZE - 1], '\0');
        EXPECT_EQ(area[FILE_FILTER_SIZE - 2], '\0');
        for (size_t i = FILE_FILTER_SIZE; i < sizeof area; i++) ASSERT_EQ(area[i], 'G') << i;
    }
}

}  // namespace
