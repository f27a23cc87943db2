// Export List and Save Format through the real tavolin.exe never leave a
// file half-written: a write-protected file is refused and kept, and on a
// medium that fills up halfway (a run with a file-size limit, see
// tests/e2e/CMakeLists.txt) the failure is reported and the user's previous
// file keeps its bytes, with nothing left beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e_support_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/window_driver/window_driver_win.h"

namespace {

namespace wd = window_driver;
using namespace e2e;
using app_driver::Tavolin;

constexpr char DRIVE = app_driver::REMOVABLE_DRIVE;

// Names in the work folder that begin with this one's name, itself included.
std::vector<std::string> NamesBeginningWith(const std::string& path) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void PutOldFile(const std::string& path, const std::string& bytes, bool isReadOnly) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(app_driver::WriteFileBytes(path, bytes));
    if (isReadOnly) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

// The limit in bytes of a run with a file-size limit, or 0.
size_t FileLimit() {
    const char* limit = std::getenv("TAVOLIN_FILE_LIMIT");
    return limit ? size_t(std::strtoull(limit, nullptr, 10)) : 0;
}

using app_driver::MainControls;
struct FileCommandTexts {
    const char* name;
    HWND MainControls::*button;
    const char* dialogTitle;
    const char* createFailedText;
    const char* successText;
};
const FileCommandTexts EXPORT = {"Export List", &MainControls::exportList, EXPORT_TITLE,
                                 EXPORT_CREATE_FAILED_TEXT, EXPORT_DONE_TEXT};
const FileCommandTexts SAVE = {"Save Format", &MainControls::saveFormat, SAVE_TITLE, SAVE_CREATE_FAILED_TEXT,
                               SAVE_DONE_TEXT};

TEST(FilesNeverHalfWritten, WriteProtectedFilesAreRefusedAndOthersReplacedWhole) {
    EmptyAllDrives();
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(DRIVE));
    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    ASSERT_TRUE(GetTracks(app, 20000));

    for (const FileCommandTexts* command : {&EXPORT, &SAVE}) {
        SCOPED_TRACE(command->name);
        const HWND button = app.Controls().*(command->button);
        const std::string path =
            WorkPath(std::string("protected-") + (command == &EXPORT ? "list.txt" : "layouts.tfc"));
        PutOldFile(path, "the user's old file", true);
        EXPECT_EQ(FileCommand(app, button, command->dialogTitle, path, ERROR_TITLE),
                  command->createFailedText);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(app_driver::ReadFileBytes(path), "the user's old file");

        // The same file, no longer protected, is replaced whole.
        EXPECT_EQ(FileCommand(app, button, command->dialogTitle, path, OK_TITLE), command->successText);
        const std::string written = app_driver::ReadFileBytes(path);
        EXPECT_NE(written, "the user's old file");
        if (command == &SAVE) {
            EXPECT_EQ(written.size(), LAYOUTS_FILE_SIZE);
        }
        EXPECT_EQ(NamesBeginningWith(path).size(), 1u) << "a file left beside it";
    }
    CloseAndCheck(app, "at the end");
}

// With files limited below the layouts file's 5124 bytes.
TEST(FilesNeverHalfWritten, SaveFormatOnAMediumThatFillsUp) {
    const size_t limit = FileLimit();
    if (limit == 0 || limit >= LAYOUTS_FILE_SIZE)
        GTEST_SKIP() << "runs only under a file-size limit below 5124 bytes";
    app_driver::EmptyDrive(DRIVE);
    const std::string path = WorkPath("filled-up.tfc");
    PutOldFile(path, "the user's previous layouts", false);
    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    EXPECT_EQ(FileCommand(app, app.Controls().saveFormat, SAVE_TITLE, path, ERROR_TITLE),
              SAVE_WRITE_FAILED_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(path), "the user's previous layouts");
    EXPECT_EQ(NamesBeginningWith(path).size(), 1u) << "a file left beside it";
    CloseAndCheck(app, "at the end");
}

// With files limited to well below the export (2000 lines of 1000 bytes)
// but above the recorder's index file that the scenario writes itself.
TEST(FilesNeverHalfWritten, ExportOnAMediumThatFillsUp) {
    const size_t limit = FileLimit();
    if (limit == 0) GTEST_SKIP() << "runs only under a file-size limit";
    app_driver::EmptyDrive(DRIVE);
    app_driver::WriteRecorder(DRIVE, {{0, BigDisc(2000), 0}});
    // A Full Listing layout of 1000 dashes per line, loaded from a version 1
    // layouts file (only that table, 2564 bytes).
    const std::string layouts = LayoutsFile(1, {{0, "-", "1000"}});
    ASSERT_LT(layouts.size(), limit);
    const std::string layoutsPath = WorkPath("dashes.tfc");
    ASSERT_TRUE(app_driver::WriteFileBytes(layoutsPath, layouts));
    const std::string path = WorkPath("filled-up.txt");
    PutOldFile(path, "the user's previous listing\r\n", false);

    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    ASSERT_EQ(FileCommand(app, c.loadFormat, LOAD_TITLE, layoutsPath, nullptr), "");
    ASSERT_TRUE(GetTracks(app));
    ASSERT_EQ(wd::ReadListCount(c.trackList), 2000);

    EXPECT_EQ(FileCommand(app, c.exportList, EXPORT_TITLE, path, ERROR_TITLE), EXPORT_WRITE_FAILED_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(path), "the user's previous listing\r\n");
    EXPECT_EQ(NamesBeginningWith(path).size(), 1u) << "a file left beside it";
    CloseAndCheck(app, "at the end");
}

}  // namespace
