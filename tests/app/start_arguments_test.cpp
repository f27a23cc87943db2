#include "app/start_arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(StartArguments, CatalogueFileAndCopyPath) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        const char* catalogue;
        const char* copy;
    } rows[] = {
        {"none", {}, "", ""},
        {"a copy alone", {"D:\\Copy"}, "", "D:\\Copy"},
        {"a catalogue alone", {"--catalogue", "C:\\c.sqlite"}, "C:\\c.sqlite", ""},
        {"the catalogue after the copy", {"D:\\Copy", "--catalogue", "C:\\c.sqlite"}, "C:\\c.sqlite", "D:\\Copy"},
        {"the catalogue before the copy", {"--catalogue", "C:\\c.sqlite", "D:\\Copy"}, "C:\\c.sqlite", "D:\\Copy"},
        {"the last catalogue counts", {"--catalogue", "a", "--catalogue", "b"}, "b", ""},
        // A drop of several paths lists the first; the option without its
        // file is let go rather than taken as the copy.
        {"further paths let go", {"D:\\One", "D:\\Two"}, "", "D:\\One"},
        {"an option without its file", {"D:\\Copy", "--catalogue"}, "", "D:\\Copy"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const StartArguments got = ReadStartArguments(row.arguments);
        EXPECT_EQ(got.cataloguePath, row.catalogue);
        EXPECT_EQ(got.copyPath, row.copy);
    }
}

}  // namespace
