#include "catalogue/found_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "support/found_row_order.h"

namespace {

// 2019-07-20 21:03:50 in the recorder's DOS words.
constexpr RecordingTime SUMMER_EVENING = (uint32_t((2019 - 1980) << 9 | 7 << 5 | 20) << 16) | (21 << 11 | 3 << 5 | 25);

FoundRow Row(const char* discTitle, uint32_t number, const char* title, float length = 0, uint32_t bitrate = 0) {
    FoundRow row = {};
    row.discId = 1;
    row.discKey = "010000024d5a2d4e483730309c3e5107";
    row.discTitle = discTitle;
    row.number = number;
    row.title = title;
    row.length = length;
    row.bitrate = bitrate;
    return row;
}

TEST(FoundRows, TextsOfCountsColumnsAndCsv) {
    FoundRow full = Row("Caf\xC3\xA9, Harbour", 12, "Full \"concert\"", 4354.0f, 48000);
    full.group = "Live";
    full.artist = "The Tidewater Band";
    full.album = "Live at the Harbour Stage";
    full.recorded = SUMMER_EVENING;
    const struct {
        const char* name;
        std::string got, expected;
    } rows[] = {
        {"no count", FormatCount(0), "0"},
        {"below a thousand", FormatCount(999), "999"},
        {"a thousand", FormatCount(1000), "1,000"},
        {"thousands", FormatCount(4310), "4,310"},
        {"millions", FormatCount(12345678), "12,345,678"},
        {"plain field", CsvText("Harbour"), "Harbour"},
        {"comma quoted", CsvText("a,b"), "\"a,b\""},
        {"quote doubled", CsvText("say \"hi\""), "\"say \"\"hi\"\"\""},
        {"line break quoted", CsvText("a\nb"), "\"a\nb\""},
        {"disc column", FoundColumnText(full, FOUND_DISC), "Caf\xC3\xA9, Harbour"},
        {"number column", FoundColumnText(full, FOUND_NUMBER), "12"},
        {"length column", FoundColumnText(full, FOUND_LENGTH), "1h:12m:34s"},
        {"mode column", FoundColumnText(full, FOUND_MODE), "HI-LP 48kbps"},
        {"recorded column", FoundColumnText(full, FOUND_RECORDED), "2019-07-20 21:03:50"},
        {"no such column", FoundColumnText(full, FOUND_COLUMN_COUNT), ""},
        {"csv line",
         FoundCsvLine(full),
         "12,Live,The Tidewater Band,Live at the Harbour Stage,\"Full \"\"concert\"\"\",4354.000,1h:12m:34s,"
         "HI-LP 48kbps,2019-07-20 21:03:50,010000024d5a2d4e483730309c3e5107,\"Caf\xC3\xA9, Harbour\"\r\n"},
        {"csv line without recording time",
         FoundCsvLine(Row("Disc", 3, "Song", 59.6f, 132000)),
         "3,,,,Song,59.600,1m:00s,LP2 132kbps,,010000024d5a2d4e483730309c3e5107,Disc\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.got, row.expected);
    }
    EXPECT_EQ(std::string(FOUND_CSV_HEADER),
              "number,group,artist,album,title,seconds,length,mode,recorded,disc_id,disc_title\r\n");
}

TEST(FoundRows, OrderByColumnThenDiscAndNumber) {
    const FoundRow a = Row("Alpha", 2, "zebra", 10, 64000);
    const FoundRow b = Row("beta", 1, "Apple", 300, 132000);
    FoundRow c = Row("Alpha", 1, "apple", 10, 64000);
    c.discId = 2;
    const struct {
        const char* name;
        const FoundRow& first;
        const FoundRow& second;
        int column;
        bool isLess;
    } rows[] = {
        {"disc titles A-Z folded", a, b, FOUND_DISC, true},
        {"disc titles reversed", b, a, FOUND_DISC, false},
        {"numbers by value", b, a, FOUND_NUMBER, true},
        {"titles A-Z folded", b, a, FOUND_TITLE, true},
        {"equal titles folded: the disc title decides", c, b, FOUND_TITLE, true},
        {"lengths by value", a, b, FOUND_LENGTH, true},
        {"modes by bitrate", b, a, FOUND_MODE, false},
        // Equal in the column and the disc title: the disc, then the number.
        {"ties by disc", a, c, FOUND_LENGTH, true},
        {"a row is not before itself", a, a, FOUND_TITLE, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(FoundRowLess(row.first, row.second, row.column), row.isLess);
    }
}

}  // namespace
