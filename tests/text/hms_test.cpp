#include "text/hms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct HmsRow {
    float seconds;
    uint32_t h, m, s;           // round on
    uint32_t hOff, mOff, sOff;  // round off
};

TEST(HmsSplit, SplitsWithAndWithoutRounding) {
    const HmsRow rows[] = {
        {0.4f, 0, 0, 0, 0, 0, 0},       {0.6f, 0, 0, 1, 0, 0, 0},
        {12.5f, 0, 0, 12, 0, 0, 12},  // an exact half is not rounded up
        {12.51f, 0, 0, 13, 0, 0, 12},   {59.5f, 0, 0, 59, 0, 0, 59},
        {59.6f, 0, 1, 0, 0, 0, 59},  // rounding carries into the minutes
        {60.0f, 0, 1, 0, 0, 1, 0},      {119.99f, 0, 2, 0, 0, 1, 59},
        {3599.6f, 1, 0, 0, 0, 59, 59},  // ...and on into the hours
        {3600.0f, 1, 0, 0, 1, 0, 0},    {3661.4f, 1, 1, 1, 1, 1, 1},
        {7322.5f, 2, 2, 2, 2, 2, 2},    {0.0f, 0, 0, 0, 0, 0, 0},
        {86400.0f, 24, 0, 0, 24, 0, 0},  // whole hours stay whole: 1/3600 and 1/60 are rounded up
    };
    for (const HmsRow& row : rows) {
        SCOPED_TRACE(row.seconds);
        uint32_t h = 99, m = 99, s = 99;
        HmsSplit(row.seconds, h, m, s, 1);
        EXPECT_EQ(h, row.h);
        EXPECT_EQ(m, row.m);
        EXPECT_EQ(s, row.s);
        HmsSplit(row.seconds, h, m, s, 0);
        EXPECT_EQ(h, row.hOff);
        EXPECT_EQ(m, row.mOff);
        EXPECT_EQ(s, row.sOff);
    }
}

TEST(HmsSplit, ExactMultiplesOfMinutesAndHoursStayWhole) {
    for (uint32_t minutes = 0; minutes < 24 * 60; ++minutes) {
        uint32_t h, m, s;
        HmsSplit(float(minutes * 60), h, m, s, 0);
        ASSERT_EQ(h * 60 + m, minutes);
        ASSERT_EQ(s, 0u);
    }
}

TEST(HmsSplit, InputsNoCallerPassesGiveZero) {
    const float rows[] = {-1.0f,
                          -0.0f,
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          std::numeric_limits<float>::quiet_NaN(),
                          3.0e38f};
    for (float x : rows) {
        SCOPED_TRACE(x);
        uint32_t h = 7, m = 7, s = 7;
        HmsSplit(x, h, m, s, 1);
        EXPECT_EQ(h + m + s, 0u);
    }
}

}  // namespace
