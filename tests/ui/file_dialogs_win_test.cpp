#include "ui/file_dialogs_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tools/lib/window_driver/window_driver_win.h"
#include "base/wide_text_win.h"

namespace {

namespace wd = window_driver;

constexpr int FILE_TYPE_COMBO_ID = 0x470;  // the dialog's "files of type" box

enum class Answer {
    Path,
    Cancel
};

// What the helper thread saw of the dialog while the test's own thread sat in
// the call that opened it.
struct DialogSeen {
    bool found = false;
    std::vector<std::string> fileTypes;
    bool closed = false;
};

// typeIndex >= 0: that file type is chosen before the path is given.
std::thread DriveDialog(const char* title, Answer answer, std::string path, DialogSeen* seen,
                        int typeIndex = -1) {
    return std::thread([=] {
        HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, title, GetCurrentProcessId());
        if (dialog == nullptr) return;
        seen->found = true;
        HWND types = GetDlgItem(dialog, FILE_TYPE_COMBO_ID);
        if (types != nullptr) seen->fileTypes = wd::ReadComboLines(types);
        if (types != nullptr && typeIndex >= 0) {
            // The dialog takes the type on CBN_SELENDOK, which a user's choice
            // sends after CBN_SELCHANGE.
            wd::SelectComboItem(types, typeIndex);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(FILE_TYPE_COMBO_ID, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(types));
        }
        seen->closed = answer == Answer::Cancel ? wd::CancelDialog(dialog)
                                                : wd::DriveFileDialog(dialog, path.c_str(), true);
    });
}

using window_driver::TempPath;

void WriteFile(const std::string& path) {
    HANDLE f = CreateFileW(ToWide(path.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(f, "x", 1, &written, nullptr);
    CloseHandle(f);
}

void DeletePathFile(const std::string& path) { DeleteFileW(ToWide(path.c_str()).c_str()); }

// A folder for the test's files; named in other scripts, it must reach the
// dialogs and come back byte for byte.
std::string MakeFolder(const char* name) {
    const std::string folder = TempPath(name);
    CreateDirectoryW(ToWide(folder.c_str()).c_str(), nullptr);
    return folder;
}

const FileType TEXT_FILE = {"Text File", ".txt"};
const FileType EXPORT_TYPES[] = {TEXT_FILE, {"Text File, UTF-8 with BOM (for spreadsheets)", ".txt"}};
const FileType FORMAT_FILE = {"Tavolin Format Config File", ".tfc"};

struct Use {
    const char* name;
    const char* title;
    const FileType* types;
    size_t typeCount;
    const char* folder;  // null: the temporary folder itself
    int typeIndex;       // the type chosen in the dialog; -1: the default
    std::vector<std::string> fileTypes;  // what the dialog offers
};

const Use SAVE_USES[] = {
    {"export list", "Select where to save output listing file.", EXPORT_TYPES, 2, nullptr, -1,
     {"Text File (*.txt)", "Text File, UTF-8 with BOM (for spreadsheets) (*.txt)"}},
    {"export list with the mark, Latin folder", "Select where to save output listing file.", EXPORT_TYPES, 2,
     "Zo\xC3\xAB", 1, {"Text File (*.txt)", "Text File, UTF-8 with BOM (for spreadsheets) (*.txt)"}},
    {"save format", "Select where to save formatting configuration.", &FORMAT_FILE, 1, nullptr, -1,
     {"Tavolin Format Config File (*.tfc)"}},
    {"save format, Japanese folder", "Select where to save formatting configuration.", &FORMAT_FILE, 1,
     "\xE9\x9F\xB3\xE6\xA5\xBD", -1, {"Tavolin Format Config File (*.tfc)"}},
};

TEST(FileDialogs, SaveDialogOffersItsTypesAndReturnsChosenPathAndType) {
    for (const Use& use : SAVE_USES) {
        SCOPED_TRACE(use.name);
        const std::string folder = use.folder != nullptr ? MakeFolder(use.folder) : TempPath("");
        const std::string path = folder + (use.folder != nullptr ? "\\" : "") + "out" + use.types[0].extension;
        DeletePathFile(path);
        char name[1024];
        memset(name, 'Q', sizeof name);
        DialogSeen seen;
        std::thread helper = DriveDialog(use.title, Answer::Path, path, &seen, use.typeIndex);
        int chosenType = 0;
        const bool result = ShowSaveDialog(use.title, use.types, use.typeCount, name, sizeof name, &chosenType);
        helper.join();
        ASSERT_TRUE(seen.found);
        EXPECT_TRUE(seen.closed);
        EXPECT_EQ(seen.fileTypes, use.fileTypes);
        EXPECT_TRUE(result);
        EXPECT_STREQ(name, path.c_str());
        EXPECT_EQ(chosenType, use.typeIndex < 0 ? 1 : use.typeIndex + 1);
        // The rest of the caller's buffer is zeroed.
        for (size_t i = path.size(); i < sizeof name; i++) ASSERT_EQ(name[i], '\0') << i;
    }
}

TEST(FileDialogs, CancelledSaveDialogLeavesBufferUntouched) {
    const Use& use = SAVE_USES[0];
    char name[1024];
    memset(name, 'Q', sizeof name);
    DialogSeen seen;
    std::thread helper = DriveDialog(use.title, Answer::Cancel, "", &seen);
    const int result = ShowSaveDialog(use.title, use.types, use.typeCount, name, sizeof name);
    helper.join();
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(result, 0);
    for (char c : name) ASSERT_EQ(c, 'Q');
}

// The cut falls on a character boundary: a path whose cut would split
// "\xC3\xAB" (e with diaeresis) or a three-byte character keeps neither half.
TEST(FileDialogs, SavedPathIsCutToCallersBuffer) {
    const Use& use = SAVE_USES[0];
    const struct {
        const char* name;
        const char* folder;  // null: the temporary folder, cut at 11 bytes
        size_t lastBytes;    // bytes of the folder name's last character
    } rows[] = {
        {"ASCII", nullptr, 0},
        {"inside a two-byte character", "Zo\xC3\xAB", 2},
        {"inside a three-byte character", "\xE9\x9F\xB3\xE6\xA5\xBD", 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string folder = row.folder != nullptr ? MakeFolder(row.folder) : TempPath("");
        const std::string path = folder + (row.folder != nullptr ? "\\cut.txt" : "cut.txt");
        DeletePathFile(path);
        // Room for the folder up to the first byte of its last character.
        const size_t kept = row.folder != nullptr ? folder.size() - row.lastBytes : 11;
        const size_t size = row.folder != nullptr ? kept + 2 : 12;
        std::vector<char> name(size, 'Q');
        DialogSeen seen;
        std::thread helper = DriveDialog(use.title, Answer::Path, path, &seen);
        const bool result = ShowSaveDialog(use.title, use.types, use.typeCount, name.data(), name.size());
        helper.join();
        EXPECT_TRUE(result);
        EXPECT_EQ(std::string(name.data()), path.substr(0, kept));
    }
}

TEST(FileDialogs, ExistingFileIsSavedOverAfterPrompt) {
    const Use& use = SAVE_USES[2];
    const std::string path = TempPath("existing.tfc");
    WriteFile(path);
    char name[1024] = "";
    DialogSeen seen;
    std::thread helper = DriveDialog(use.title, Answer::Path, path, &seen);
    const int result = ShowSaveDialog(use.title, use.types, use.typeCount, name, sizeof name);
    helper.join();
    EXPECT_TRUE(seen.closed);  // the overwrite prompt was there and answered Yes
    EXPECT_NE(result, 0);
    EXPECT_STREQ(name, path.c_str());
    DeletePathFile(path);
}

TEST(FileDialogs, OverlongTypeTextIsCutInsideFilter) {
    const std::string typeText(400, 'T');
    const char* title = "Long filter";
    char name[1024];
    memset(name, 'Q', sizeof name);
    DialogSeen seen;
    std::thread helper = DriveDialog(title, Answer::Cancel, "", &seen);
    const FileType type = {typeText.c_str(), ".txt"};
    const int result = ShowSaveDialog(title, &type, 1, name, sizeof name);
    helper.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(seen.fileTypes.size(), 1u);
    // 255 bytes hold the display text, its zero, "*.txt" and two zeros.
    EXPECT_EQ(seen.fileTypes[0], typeText.substr(0, 247));
}

TEST(FileDialogs, OpenDialogReturnsExistingFile) {
    const char* title = "Select format configuration file to use";
    for (const char* folderName : {static_cast<const char*>(nullptr), "Zo\xC3\xAB", "\xE9\x9F\xB3\xE6\xA5\xBD"}) {
        SCOPED_TRACE(folderName != nullptr ? folderName : "temporary folder");
        const std::string path =
            folderName != nullptr ? MakeFolder(folderName) + "\\load.tfc" : TempPath("load.tfc");
        WriteFile(path);
        char name[1024];
        memset(name, 'Q', sizeof name);
        DialogSeen seen;
        std::thread helper = DriveDialog(title, Answer::Path, path, &seen);
        const int result = ShowOpenDialog(title, FORMAT_FILE, name, sizeof name);
        helper.join();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.fileTypes, std::vector<std::string>{"Tavolin Format Config File (*.tfc)"});
        EXPECT_NE(result, 0);
        EXPECT_STREQ(name, path.c_str());
        for (size_t i = path.size(); i < sizeof name; i++) ASSERT_EQ(name[i], '\0') << i;
        DeletePathFile(path);
    }
}

TEST(FileDialogs, CancelledOpenDialogReturnsZeroWithBufferCleared) {
    const char* title = "Select format configuration file to use";
    char name[1024];
    memset(name, 'Q', sizeof name);
    DialogSeen seen;
    std::thread helper = DriveDialog(title, Answer::Cancel, "", &seen);
    const int result = ShowOpenDialog(title, FORMAT_FILE, name, sizeof name);
    helper.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 0);
    for (char c : name) ASSERT_EQ(c, '\0');
}

TEST(FileDialogs, OpenDialogRefusesBufferWithoutRoom) {
    char one[1] = {'Q'};
    EXPECT_EQ(ShowOpenDialog("never shown", FORMAT_FILE, one, sizeof one), 0);
    EXPECT_EQ(one[0], 'Q');
    EXPECT_EQ(ShowOpenDialog("never shown", FORMAT_FILE, nullptr, 1024), 0);
}

}  // namespace
