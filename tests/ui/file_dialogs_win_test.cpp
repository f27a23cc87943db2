#include "ui/file_dialogs_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tools/window_driver/window_driver_win.h"

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

std::thread DriveDialog(const char* title, Answer answer, std::string path, DialogSeen* seen) {
    return std::thread([=] {
        HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, title, GetCurrentProcessId());
        if (dialog == nullptr) return;
        seen->found = true;
        HWND types = GetDlgItem(dialog, FILE_TYPE_COMBO_ID);
        if (types != nullptr) seen->fileTypes = wd::ReadComboLines(types);
        seen->closed = answer == Answer::Cancel ? wd::CancelDialog(dialog)
                                                : wd::DriveFileDialog(dialog, path.c_str(), true);
    });
}

using window_driver::TempPath;

void WriteFile(const std::string& path) {
    HANDLE f =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(f, "x", 1, &written, nullptr);
    CloseHandle(f);
}

struct Use {
    const char* name;
    const char* title;
    const char* extension;
    const char* typeText;
    const char* fileType;  // what the dialog offers
};

const Use SAVE_USES[] = {
    {"export list", "Select where to save output listing file.", ".txt", "Text File", "Text File (*.txt)"},
    {"save format", "Select where to save formatting configuration.", ".tfc", "Tavolin Format Config File",
     "Tavolin Format Config File (*.tfc)"},
};

TEST(FileDialogs, SaveDialogOffersOneTypeAndReturnsChosenPath) {
    for (const Use& use : SAVE_USES) {
        SCOPED_TRACE(use.name);
        const std::string path = TempPath((std::string("out") + use.extension).c_str());
        DeleteFileA(path.c_str());
        char name[1024];
        memset(name, 'Q', sizeof name);
        DialogSeen seen;
        std::thread helper = DriveDialog(use.title, Answer::Path, path, &seen);
        const int result = ShowSaveDialog(use.title, use.extension, use.typeText, name, sizeof name);
        helper.join();
        ASSERT_TRUE(seen.found);
        EXPECT_TRUE(seen.closed);
        EXPECT_EQ(seen.fileTypes, std::vector<std::string>{use.fileType});
        EXPECT_NE(result, 0);
        EXPECT_STREQ(name, path.c_str());
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
    const int result = ShowSaveDialog(use.title, use.extension, use.typeText, name, sizeof name);
    helper.join();
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(result, 0);
    for (char c : name) ASSERT_EQ(c, 'Q');
}

TEST(FileDialogs, SavedPathIsCutToCallersBuffer) {
    const Use& use = SAVE_USES[0];
    const std::string path = TempPath("cut.txt");
    DeleteFileA(path.c_str());
    char name[12];
    memset(name, 'Q', sizeof name);
    DialogSeen seen;
    std::thread helper = DriveDialog(use.title, Answer::Path, path, &seen);
    const int result = ShowSaveDialog(use.title, use.extension, use.typeText, name, sizeof name);
    helper.join();
    EXPECT_NE(result, 0);
    EXPECT_EQ(std::string(name), path.substr(0, sizeof name - 1));
}

TEST(FileDialogs, ExistingFileIsSavedOverAfterPrompt) {
    const Use& use = SAVE_USES[1];
    const std::string path = TempPath("existing.tfc");
    WriteFile(path);
    char name[1024] = "";
    DialogSeen seen;
    std::thread helper = DriveDialog(use.title, Answer::Path, path, &seen);
    const int result = ShowSaveDialog(use.title, use.extension, use.typeText, name, sizeof name);
    helper.join();
    EXPECT_TRUE(seen.closed);  // the overwrite prompt was there and answered Yes
    EXPECT_NE(result, 0);
    EXPECT_STREQ(name, path.c_str());
    DeleteFileA(path.c_str());
}

TEST(FileDialogs, OverlongTypeTextIsCutInsideFilter) {
    const std::string typeText(400, 'T');
    const char* title = "Long filter";
    char name[1024];
    memset(name, 'Q', sizeof name);
    DialogSeen seen;
    std::thread helper = DriveDialog(title, Answer::Cancel, "", &seen);
    const int result = ShowSaveDialog(title, ".txt", typeText.c_str(), name, sizeof name);
    helper.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 0);
    ASSERT_EQ(seen.fileTypes.size(), 1u);
    // 255 bytes hold the display text, its zero, "*.txt" and two zeros.
    EXPECT_EQ(seen.fileTypes[0], typeText.substr(0, 247));
}

TEST(FileDialogs, OpenDialogReturnsExistingFile) {
    const char* title = "Select format configuration file to use";
    const std::string path = TempPath("load.tfc");
    WriteFile(path);
    char name[1024];
    memset(name, 'Q', sizeof name);
    DialogSeen seen;
    std::thread helper = DriveDialog(title, Answer::Path, path, &seen);
    const int result = ShowOpenDialog(title, ".tfc", "Tavolin Format Config File", name, sizeof name);
    helper.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.fileTypes, std::vector<std::string>{"Tavolin Format Config File (*.tfc)"});
    EXPECT_NE(result, 0);
    EXPECT_STREQ(name, path.c_str());
    for (size_t i = path.size(); i < sizeof name; i++) ASSERT_EQ(name[i], '\0') << i;
    DeleteFileA(path.c_str());
}

TEST(FileDialogs, CancelledOpenDialogReturnsZeroWithBufferCleared) {
    const char* title = "Select format configuration file to use";
    char name[1024];
    memset(name, 'Q', sizeof name);
    DialogSeen seen;
    std::thread helper = DriveDialog(title, Answer::Cancel, "", &seen);
    const int result = ShowOpenDialog(title, ".tfc", "Tavolin Format Config File", name, sizeof name);
    helper.join();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(result, 0);
    for (char c : name) ASSERT_EQ(c, '\0');
}

TEST(FileDialogs, OpenDialogRefusesBufferWithoutRoom) {
    char one[1] = {'Q'};
    EXPECT_EQ(ShowOpenDialog("never shown", ".tfc", "x", one, sizeof one), 0);
    EXPECT_EQ(one[0], 'Q');
    EXPECT_EQ(ShowOpenDialog("never shown", ".tfc", "x", nullptr, 1024), 0);
}

}  // namespace
