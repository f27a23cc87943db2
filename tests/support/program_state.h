// One fixture for every test that touches the program-wide records. Before
// and after each test gFormatSettings holds the defaults, the catalogue is
// empty (its storage kept) and grows with calloc, and no file command is
// busy, so a test that stops at an early ASSERT leaks nothing into the next.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "listing/track_catalogue.h"
#include "settings/busy_flag.h"
#include "settings/format_settings.h"

class ProgramStateTest : public ::testing::Test {
public:
    static void ResetProgramState() {
        SetFormatDefaults(gFormatSettings);
        gCatalogueAlloc = std::calloc;
        ClearCatalogue();
        gBusy = 0;
    }

protected:
    void SetUp() override { ResetProgramState(); }
    void TearDown() override { ResetProgramState(); }
};
