// Drives windows as a user would, in the same process or another one, for
// the tests and the tools that run the program: finds windows and dialogs,
// reads texts and list lines, clicks buttons, answers message boxes and
// file dialogs, and waits for conditions by polling. Texts are UTF-8, read
// and written as wide text. No test framework.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace window_driver {

// Dispatches whatever is queued for this thread (posted list messages and
// the like). A WM_QUIT posted by a closed window is dropped.
void PumpMessages();

// A path in the temporary folder, unique to this process: tavolin_PID_name.
std::string TempPath(const char* name);

// Deletes every file and folder under dir, and dir itself when removeSelf.
void RemoveTree(const std::string& dir, bool removeSelf);

// The text of line i of a list box of this process.
std::string ReadOwnListLine(HWND list, int i);

// Everything about a list box in this process that a user could see or a
// caller could read.
struct ListState {
    std::vector<std::string> texts;
    std::vector<intptr_t> items;
    int count, topIndex, caretIndex, anchorIndex, currentIndex, selectedCount, horizontalExtent;
    bool hasVerticalBar;
    bool operator==(const ListState&) const = default;
};
ListState ReadListState(HWND list);
// Prints the fields by name (the counts and first line, not every line).
void PrintTo(const ListState& state, std::ostream* out);
// Empty when the states are equal; otherwise one line per field that
// differs, and for the lines the first index where they differ.
std::string ListStateDifference(const ListState& actual, const ListState& expected);

constexpr DWORD DEFAULT_TIMEOUT_MS = 5000;
constexpr DWORD POLL_INTERVAL_MS = 10;
constexpr int FILE_NAME_FIELD_ID = 0x47C;  // the file name combo of the save/open dialogs
constexpr int MESSAGE_TEXT_ID = 0xFFFF;    // the static control holding a message box's text
constexpr char DIALOG_CLASS[] = "#32770";

struct ChildWindow {
    HWND window;
    std::string className;
    std::string text;
    int id;
    LONG style;
    RECT rect;  // screen coordinates
};

// Calls `condition` every POLL_INTERVAL_MS until it holds or the time is up;
// between polls the calling thread's messages are dispatched (a WM_QUIT met
// there is posted again). True when the condition held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

// First visible top-level window whose class and title match (null matches
// any), owned by `processId` unless it is 0.
HWND FindTopWindow(const char* className, const char* title, DWORD processId = 0);
HWND WaitForTopWindow(const char* className, const char* title, DWORD processId = 0,
                      DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
// Every visible top-level window of that class (and process, unless 0).
std::vector<HWND> FindTopWindows(const char* className, DWORD processId = 0);
// Waits until the window is gone; true if it went in time.
bool WaitForClose(HWND window, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

// All descendants, in the platform's enumeration order.
std::vector<ChildWindow> ListChildren(HWND parent);
// First descendant whose class and text match (null matches any; classes
// compare without regard to case).
HWND FindChild(HWND parent, const char* className, const char* text);

// Window text as WM_GETTEXT gives it (works across processes; for a combo
// box this is its current item's text).
std::string ReadWindowText(HWND window);
// Lines of a list box or combo box.
std::vector<std::string> ReadListLines(HWND list);
std::vector<std::string> ReadComboLines(HWND combo);
std::vector<intptr_t> ReadListItemData(HWND list);
int ReadListCount(HWND list);

// BM_CLICK, sent (returns when the click is handled) or posted (for a button
// that opens a modal dialog or message box).
void ClickButton(HWND button, bool post = false);

// A BM_CLICK sent without waiting (SendMessageCallback): unlike a posted
// click it says when the button's handler has returned, also when that
// handler opened a message box or dialog first. The answer arrives while
// this thread dispatches messages (WaitFor does).
class PendingClick {
public:
    explicit PendingClick(HWND button);
    ~PendingClick();
    PendingClick(const PendingClick&) = delete;
    PendingClick& operator=(const PendingClick&) = delete;
    bool IsReturned() const { return *isReturned_; }

private:
    bool* isReturned_;  // on the heap: an answer still due when this ends writes there
};
// Selects one line of a list box (any selection style) and tells the parent
// as a user's change would. Posted notification when `post`.
void SelectListLine(HWND list, int index, bool post = false);
// Selects a combo item and tells the parent (CB_SETCURSEL alone does not).
void SelectComboItem(HWND combo, int index, bool post = false);

// A dialog-class window with a message text, or null: visible, of the process
// (unless 0) and, unless null, with that title.
HWND FindMessageBox(const char* title, DWORD processId = 0);
HWND WaitForMessageBox(const char* title, DWORD processId = 0, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
std::string MessageBoxText(HWND box);
// Presses the button with `buttonId` (IDOK, IDYES, ...) and waits until the box
// is gone. False if there is no such button or the box stays.
bool AnswerMessageBox(HWND box, int buttonId = IDOK, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

// Types `path` into a save/open dialog's file name field and presses its OK
// button. An overwrite prompt ("File already exists...") that follows is
// answered Yes when `confirmOverwrite`, else No. True when the dialog closed.
bool DriveFileDialog(HWND dialog, const char* path, bool confirmOverwrite = true,
                     DWORD timeoutMs = DEFAULT_TIMEOUT_MS);
// Presses Cancel and waits until the dialog is gone.
bool CancelDialog(HWND dialog, DWORD timeoutMs = DEFAULT_TIMEOUT_MS);

}  // namespace window_driver
