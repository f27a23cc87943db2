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

#include "app/format_file_flows_win.h"
#include "e2e_support_win.h"
#include "listing/listing_win.h"
#include "settings/format_file.h"
#include "tools/app_driver/app_driver_win.h"
#include "tools/window_driver/window_driver_win.h"

namespace {

namespace wd = window_driver;
using app_driver::Tavolin;

constexpr char DRIVE = app_driver::REMOVABLE_DRIVE;

std::string WorkPath(const std::string& name) { return app_driver::WorkFolder() + "\\" + name; }

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

// The button's file dialog answered with path (an overwrite prompt
// confirmed), and the text of the message box that follows under title.
std::string RunFileCommand(Tavolin& app, HWND button, const char* dialogTitle, const std::string& path,
                           const char* boxTitle) {
    wd::PendingClick click(button);
    HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, dialogTitle, app.ProcessId());
    if (!dialog || !wd::DriveFileDialog(dialog, path.c_str(), true)) return "<no dialog>";
    HWND box = wd::WaitForMessageBox(boxTitle, app.ProcessId());
    if (!box) return "<no box titled " + std::string(boxTitle) + ">";
    const std::string text = wd::MessageBoxText(box);
    wd::AnswerMessageBox(box);
    wd::WaitFor([&] { return click.IsReturned(); });
    return text;
}

// The limit in bytes of a run with a file-size limit, or 0.
size_t FileLimit() {
    const char* limit = std::getenv("TAVOLIN_FILE_LIMIT");
    return limit ? size_t(std::strtoull(limit, nullptr, 10)) : 0;
}

using app_driver::MainControls;
struct FileCommand {
    const char* name;
    HWND MainControls::*button;
    const char* dialogTitle;
    const char* createFailedText;
    const char* writeFailedText;
};
const FileCommand EXPORT = {"Export List", &MainControls::exportList, EXPORT_DIALOG_TITLE,
                            EXPORT_CREATE_FAILED_TEXT, EXPORT_WRITE_FAILED_TEXT};
const FileCommand SAVE = {"Save Format", &MainControls::saveFormat, SAVE_FORMAT_TITLE,
                          SAVE_FORMAT_CREATE_FAILED_TEXT, SAVE_FORMAT_WRITE_FAILED_TEXT};

TEST(FilesNeverHalfWritten, WriteProtectedFilesAreRefusedAndOthersReplacedWhole) {
    for (char d : {app_driver::REMOVABLE_DRIVE, app_driver::SECOND_REMOVABLE_DRIVE, app_driver::CDROM_DRIVE,
                   app_driver::FIXED_DRIVE})
        app_driver::EmptyDrive(d);
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(DRIVE));
    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    wd::PendingClick scan(app.Controls().getTracks);
    ASSERT_TRUE(wd::WaitFor(
        [&] { return scan.IsReturned() && wd::ReadWindowText(app.Controls().getTracks) == "Get Tracks..."; },
        20000));

    for (const FileCommand* command : {&EXPORT, &SAVE}) {
        SCOPED_TRACE(command->name);
        const HWND button = app.Controls().*(command->button);
        const std::string path =
            WorkPath(std::string("protected-") + (command == &EXPORT ? "list.txt" : "layouts.tfc"));
        PutOldFile(path, "the user's old file", true);
        EXPECT_EQ(RunFileCommand(app, button, command->dialogTitle, path, TITLE_ERROR),
                  command->createFailedText);
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(app_driver::ReadFileBytes(path), "the user's old file");

        // The same file, no longer protected, is replaced whole.
        const char* successText = command == &EXPORT ? EXPORT_SUCCESS_TEXT : SAVE_FORMAT_SUCCESS_TEXT;
        EXPECT_EQ(RunFileCommand(app, button, command->dialogTitle, path, TITLE_OK), successText);
        const std::string written = app_driver::ReadFileBytes(path);
        EXPECT_NE(written, "the user's old file");
        if (command == &SAVE) {
            EXPECT_EQ(written.size(), FORMAT_FILE_SIZE);
        }
        EXPECT_EQ(NamesBeginningWith(path).size(), 1u) << "a file left beside it";
    }
    DWORD code = 1;
    EXPECT_TRUE(app.Close(5000, &code));
    EXPECT_EQ(code, 0u);
}

// With files limited below the layouts file's 5124 bytes.
TEST(FilesNeverHalfWritten, SaveFormatOnAMediumThatFillsUp) {
    const size_t limit = FileLimit();
    if (limit == 0 || limit >= FORMAT_FILE_SIZE)
        GTEST_SKIP() << "runs only under a file-size limit below 5124 bytes";
    app_driver::EmptyDrive(DRIVE);
    const std::string path = WorkPath("filled-up.tfc");
    PutOldFile(path, "the user's previous layouts", false);
    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    EXPECT_EQ(RunFileCommand(app, app.Controls().saveFormat, SAVE_FORMAT_TITLE, path, TITLE_ERROR),
              SAVE_FORMAT_WRITE_FAILED_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(path), "the user's previous layouts");
    EXPECT_EQ(NamesBeginningWith(path).size(), 1u) << "a file left beside it";
    DWORD code = 1;
    EXPECT_TRUE(app.Close(5000, &code));
    EXPECT_EQ(code, 0u);
}

// With files limited to well below the export (2000 lines of 1000 bytes)
// but above the recorder's index file that the scenario writes itself.
TEST(FilesNeverHalfWritten, ExportOnAMediumThatFillsUp) {
    const size_t limit = FileLimit();
    if (limit == 0) GTEST_SKIP() << "runs only under a file-size limit";
    app_driver::EmptyDrive(DRIVE);
    app_driver::WriteRecorder(DRIVE, {{0, e2e::BigDisc(2000), 0}});
    // A Full Listing layout of 1000 dashes per line, loaded from a version 1
    // layouts file (only that table, 2564 bytes).
    FormatSettings settings;
    SetFormatDefaults(settings);
    e2e::SetSlot(settings.fullFormat, 0, "-", "1000");
    std::string layouts(FORMAT_FILE_SIZE, '\0');
    WriteFormatFile(settings, reinterpret_cast<uint8_t*>(layouts.data()));
    layouts.resize(FORMAT_FILE_VERSION_SIZE + sizeof(FormatTable));
    layouts[0] = 1;
    ASSERT_LT(layouts.size(), limit);
    const std::string layoutsPath = WorkPath("dashes.tfc");
    ASSERT_TRUE(app_driver::WriteFileBytes(layoutsPath, layouts));
    const std::string path = WorkPath("filled-up.txt");
    PutOldFile(path, "the user's previous listing\r\n", false);

    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    {
        wd::PendingClick load(c.loadFormat);
        HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, LOAD_FORMAT_TITLE, app.ProcessId());
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(wd::DriveFileDialog(dialog, layoutsPath.c_str()));
        ASSERT_TRUE(wd::WaitFor([&] { return load.IsReturned(); }));
    }
    wd::PendingClick scan(c.getTracks);
    ASSERT_TRUE(wd::WaitFor(
        [&] { return scan.IsReturned() && wd::ReadWindowText(c.getTracks) == "Get Tracks..."; }, 30000));
    ASSERT_EQ(wd::ReadListCount(c.trackList), 2000);

    EXPECT_EQ(RunFileCommand(app, c.exportList, EXPORT_DIALOG_TITLE, path, TITLE_ERROR),
              EXPORT_WRITE_FAILED_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(path), "the user's previous listing\r\n");
    EXPECT_EQ(NamesBeginningWith(path).size(), 1u) << "a file left beside it";
    DWORD code = 1;
    EXPECT_TRUE(app.Close(5000, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
