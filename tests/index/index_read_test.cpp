// The bounded read of an index file into the decoder's image, through a
// fake file: what is read, what stays zero and what each outcome is.
#include "index/index_read.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class FakeSource : public IndexFileSource {
public:
    bool hasSize = true, isReadable = true;
    uint64_t size = 0;
    size_t arrives = SIZE_MAX;  // bytes a read gives at most
    size_t asked = 0;

    bool Size(uint64_t& n) override {
        n = size;
        return hasSize;
    }
    bool Read(uint8_t* bytes, size_t n, size_t& got) override {
        asked = n;
        got = std::min({n, arrives, size_t(size)});
        for (size_t i = 0; i < got; ++i) bytes[i] = uint8_t('a' + i % 26);
        return isReadable;
    }
};

TEST(IndexRead, ReadsNoMoreThanTheLimitAndPadsWithZeros) {
    const struct {
        const char* name;
        bool hasSize, isReadable;
        uint64_t size;
        size_t arrives;
        IndexReadResult result;
        size_t imageSize, fileBytes;  // bytes of the image, of them from the file
    } rows[] = {
        {"a whole file", true, true, 10, SIZE_MAX, IndexReadResult::WHOLE, 14, 10},
        {"an empty file", true, true, 0, SIZE_MAX, IndexReadResult::WHOLE, 4, 0},
        {"a file past the limit is read to it", true, true, 1ull << 40, SIZE_MAX, IndexReadResult::WHOLE, 36, 32},
        {"a short read keeps its bytes", true, true, 10, 6, IndexReadResult::SHORT, 14, 6},
        {"nothing arrives", true, true, 10, 0, IndexReadResult::UNREADABLE, 14, 0},
        // A read that fails part-way leaves no bytes behind.
        {"the read fails", true, false, 10, 6, IndexReadResult::UNREADABLE, 14, 0},
        {"no size", false, true, 10, SIZE_MAX, IndexReadResult::UNREADABLE, 4, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakeSource source;
        source.hasSize = row.hasSize;
        source.isReadable = row.isReadable;
        source.size = row.size;
        source.arrives = row.arrives;
        std::vector<uint8_t> image(3, 0xFF);  // an earlier image is replaced
        EXPECT_EQ(ReadIndexImage(source, 32, 4, image), row.result);
        ASSERT_EQ(image.size(), row.imageSize);
        EXPECT_LE(source.asked, 32u);
        for (size_t i = 0; i < image.size(); ++i)
            EXPECT_EQ(image[i], i < row.fileBytes ? uint8_t('a' + i % 26) : 0) << "byte " << i;
    }
}

}  // namespace
