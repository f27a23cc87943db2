// The window driver against a second process: this program started again
// with --serve opens a window made through the layer, and the tests drive it
// from outside as the end-to-end scenarios drive tavolin.exe.
#include "tools/lib/window_driver/window_driver_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/list_state_win.h"
#include "ui/controls_win.h"
#include "ui/file_dialogs_win.h"
#include "ui/window_context_win.h"

namespace {

namespace wd = window_driver;

constexpr char SERVER_CLASS[] = "TAVOLINDRIVERSERVER";
constexpr char SERVER_TITLE[] = "Driver server";
constexpr char SAVE_TITLE[] = "Driver save";
// Texts beyond ASCII cross the process boundary through the wide messages:
// Latin, Greek, Japanese and an emoji (a surrogate pair).
const char* const LIST_LINES[] = {"First line", "Caf\xC3\xA9 \xC2\xABquoted\xC2\xBB",
                                  "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7 \xE9\x9F\xB3 \xF0\x9F\x8E\xB5"};
const char* const COMBO_ITEMS[] = {"Full Listing", "Gr\xC3\xBCppe \xE9\x9F\xB3\xE6\xA5\xBD"};

// ---- The server side ----

HWND gLabel;
HWND gHelloButton;

void OnSelection(WindowContext* context, HWND control, intptr_t, void*) {
    char text[64];
    snprintf(text, sizeof text, "selected %lld",
             static_cast<long long>(GetSelectedItemData(context, control)));
    SetControlText(gLabel, text);
}

void OnButton(WindowContext*, HWND control, intptr_t, void*) {
    if (control == gHelloButton) {
        MessageBoxA(nullptr, "Hello from the server.", "Tavolin OK", MB_OK | MB_SETFOREGROUND);
        SetControlText(gLabel, "answered");
    } else {
        char name[1024] = "";
        const FileType type = {"Text File", ".txt"};
        const bool chosen = ShowSaveDialog(SAVE_TITLE, &type, 1, name, sizeof name);
        SetControlText(gLabel, chosen ? name : "cancelled");
    }
}

int Serve() {
    WindowContext* context = CreateWindowContext(GetModuleHandleA(nullptr), SERVER_CLASS, 0);
    if (context == nullptr || !OpenMainWindow(context, 500, 400, SERVER_TITLE)) return 2;
    HWND list = CreateControl(context, CONTROL_LIST_BOX, 0, 0, 300, 100, "", 0, OnSelection, nullptr);
    for (int i = 0; i < 3; i++) AddItem(context, list, LIST_LINES[i], (i + 1) * 10, 1);
    HWND combo = CreateControl(context, CONTROL_COMBO_BOX, 0, 110, 200, 100, "", 0, OnSelection, nullptr);
    for (int i = 0; i < 2; i++) AddItem(context, combo, COMBO_ITEMS[i], 100 + i, 0);
    gHelloButton =
        CreateControl(context, CONTROL_PUSH_BUTTON, 0, 150, 100, 30, "Say hello", 0, OnButton, nullptr);
    CreateControl(context, CONTROL_PUSH_BUTTON, 110, 150, 100, 30, "Save...", 0, OnButton, nullptr);
    gLabel = CreateControl(context, CONTROL_STATIC_TEXT, 0, 200, 400, 20, "ready", 0, nullptr, nullptr);
    RunMessageLoop(context);
    DestroyWindowContext(context);
    return 0;
}

// ---- The driving side ----

class DriverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char exe[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, exe, sizeof exe);
        std::string command = std::string("\"") + exe + "\" --serve";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (!CreateProcessA(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                            &process_)) {
            return;
        }
        window_ = wd::WaitForTopWindow(SERVER_CLASS, SERVER_TITLE, process_.dwProcessId, 10000);
        // The window shows before its controls exist; the label comes last.
        if (window_ != nullptr &&
            !wd::WaitFor([] { return wd::FindChild(window_, "Static", "ready") != nullptr; })) {
            window_ = nullptr;
        }
    }

    static void TearDownTestSuite() {
        if (window_ != nullptr) PostMessageA(window_, WM_CLOSE, 0, 0);
        if (process_.hProcess != nullptr) {
            if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
                TerminateProcess(process_.hProcess, 1);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }

    void SetUp() override { ASSERT_NE(window_, nullptr) << "the server window did not appear"; }

    HWND Child(const char* className, const char* text = nullptr) {
        return wd::FindChild(window_, className, text);
    }

    bool LabelBecomes(const std::string& text) {
        HWND label = Child("Static");
        return wd::WaitFor([&] { return wd::ReadWindowText(label) == text; });
    }

    static PROCESS_INFORMATION process_;
    static HWND window_;
};

PROCESS_INFORMATION DriverTest::process_ = {};
HWND DriverTest::window_ = nullptr;

TEST_F(DriverTest, FindsWindowsByClassTitleAndProcess) {
    EXPECT_EQ(wd::FindTopWindow(SERVER_CLASS, nullptr, process_.dwProcessId), window_);
    EXPECT_EQ(wd::FindTopWindow(SERVER_CLASS, SERVER_TITLE), window_);
    EXPECT_EQ(wd::FindTopWindow(SERVER_CLASS, nullptr, GetCurrentProcessId()), nullptr);
    EXPECT_EQ(wd::FindTopWindow(SERVER_CLASS, "Another title"), nullptr);
    // Five controls, listed with their platform classes and texts (a list box's
    // text is its window name).
    std::vector<std::string> seen;
    for (const wd::ChildWindow& c : wd::ListChildren(window_)) {
        if (GetParent(c.window) == window_) seen.push_back(c.className + ":" + c.text);
    }
    const std::vector<std::string> expected = {"ListBox:CONTROL000300100", "ComboBox:Full Listing",
                                               "Button:Say hello", "Button:Save...", "Static:ready"};
    EXPECT_EQ(seen, expected);
}

TEST_F(DriverTest, ReadsListAndComboLinesAcrossProcesses) {
    HWND list = Child("ListBox");
    HWND combo = Child("ComboBox");
    ASSERT_NE(list, nullptr);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(wd::ReadListCount(list), 3);
    EXPECT_EQ(wd::ReadListLines(list), std::vector<std::string>(LIST_LINES, LIST_LINES + 3));
    EXPECT_EQ(wd::ReadListItemData(list), (std::vector<intptr_t>{10, 20, 30}));
    EXPECT_EQ(wd::ReadComboLines(combo), std::vector<std::string>(COMBO_ITEMS, COMBO_ITEMS + 2));
}

TEST_F(DriverTest, SelectionsReachTheProgramsCallbacks) {
    wd::SelectListLine(Child("ListBox"), 1);
    EXPECT_TRUE(LabelBecomes("selected 20"));
    wd::SelectComboItem(Child("ComboBox"), 1, /*post*/ true);
    EXPECT_TRUE(LabelBecomes("selected 101"));
    EXPECT_EQ(wd::ReadWindowText(Child("ComboBox")), COMBO_ITEMS[1]);
}

TEST_F(DriverTest, AnswersMessageBox) {
    wd::ClickButton(Child("Button", "Say hello"), /*post*/ true);
    HWND box = wd::WaitForMessageBox("Tavolin OK", process_.dwProcessId);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(wd::MessageBoxText(box), "Hello from the server.");
    EXPECT_EQ(wd::FindMessageBox("Tavolin Error", process_.dwProcessId), nullptr);
    EXPECT_TRUE(wd::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(LabelBecomes("answered"));

    // A pending click is not answered while its handler's box is open, and is
    // once the box is closed and the handler has returned.
    wd::PendingClick click(Child("Button", "Say hello"));
    box = wd::WaitForMessageBox("Tavolin OK", process_.dwProcessId);
    ASSERT_NE(box, nullptr);
    wd::WaitFor([] { return false; }, 100);
    EXPECT_FALSE(click.IsReturned());
    EXPECT_TRUE(wd::AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(wd::WaitFor([&] { return click.IsReturned(); }));
}

TEST_F(DriverTest, DrivesSaveDialogIncludingOverwritePrompt) {
    const std::string path = wd::TempPath("driver.txt");
    DeleteFileA(path.c_str());
    struct Row {
        const char* name;
        bool existsBefore;
    };
    const Row rows[] = {{"new file", false}, {"existing file", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.existsBefore) {
            HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            ASSERT_NE(f, INVALID_HANDLE_VALUE);
            CloseHandle(f);
        }
        SetWindowTextA(Child("Static"), "ready");
        wd::ClickButton(Child("Button", "Save..."), /*post*/ true);
        HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, SAVE_TITLE, process_.dwProcessId);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(wd::DriveFileDialog(dialog, path.c_str()));
        EXPECT_TRUE(LabelBecomes(path));
    }
    SetWindowTextA(Child("Static"), "ready");
    wd::ClickButton(Child("Button", "Save..."), /*post*/ true);
    HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, SAVE_TITLE, process_.dwProcessId);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(wd::CancelDialog(dialog));
    EXPECT_TRUE(LabelBecomes("cancelled"));
    DeleteFileA(path.c_str());
}

// A list state comparison names the fields that differ and the first line
// that does.
TEST(ListStateComparison, NamesEachDifferingField) {
    wd::ListState expected{{"a", "b"}, {1, 2}, 2, 0, 0, 0, 0, 1, 40, false};
    EXPECT_TRUE(wd::SameListState(expected, expected));
    wd::ListState actual = expected;
    actual.topIndex = 1;
    actual.texts[1] = "c";
    const testing::AssertionResult result = wd::SameListState(actual, expected);
    EXPECT_FALSE(result);
    const std::string message = result.message();
    EXPECT_NE(message.find("topIndex: 1, expected 0"), std::string::npos) << message;
    EXPECT_NE(message.find("line 1: \"c\" (2), expected \"b\" (2)"), std::string::npos) << message;
    EXPECT_EQ(message.find("caretIndex"), std::string::npos) << message;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && strcmp(argv[1], "--serve") == 0) return Serve();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
