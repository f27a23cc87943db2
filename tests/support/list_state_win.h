// Two list box states compared as a test assertion: a failure names each
// field that differs and the first differing line.
#pragma once

#include <gtest/gtest.h>

#include "tools/lib/window_driver/window_driver_win.h"

namespace window_driver {

inline testing::AssertionResult SameListState(const ListState& actual, const ListState& expected) {
    if (actual == expected) return testing::AssertionSuccess();
    return testing::AssertionFailure() << ListStateDifference(actual, expected);
}

}  // namespace window_driver
