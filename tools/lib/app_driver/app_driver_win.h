// Drives tavolin.exe from another process, as a user would: simulated
// recorders on the drive letters of a private prefix (app_prefix.sh), the
// program started and ended, its window and controls found, and its
// dialogs and message boxes answered. Built on the window driver.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace app_driver {

// Drive letters that app_prefix.sh maps, each to an empty folder.
constexpr char REMOVABLE_DRIVE = 'D';
constexpr char SECOND_REMOVABLE_DRIVE = 'E';
constexpr char CDROM_DRIVE = 'F';
constexpr char FIXED_DRIVE = 'G';

constexpr char MAIN_CLASS[] = "TAVOLINWNDCLASS";

// One track index file of a simulated recorder; its write time is
// 2021-03-04 05:06 UTC plus `minutes`.
struct IndexFile {
    uint32_t number;
    std::vector<uint8_t> bytes;
    int minutes;
};

// Writes a file (path in UTF-8) whose write time is 2021-03-04 05:06 UTC
// plus `minutes`; false when any step fails.
bool WriteWithTime(const std::string& path, const std::vector<uint8_t>& bytes, int minutes);
// Empties the folder behind the drive letter.
void EmptyDrive(char drive);
// Writes the marker file and the index files into X:\HMDHIFI.
void WriteRecorder(char drive, const std::vector<IndexFile>& files);
// Writes a copy of a recorder's HMDHIFI folder into `folder` (made if
// missing), its names in mixed case as copies on other file systems keep
// them: "_MdHiFi.hma" and "TrkIdx%02X.hMa".
void WriteRecorderCopy(const std::string& folder, const std::vector<IndexFile>& files);
// Writes the demo recorder (tavolin-make-demo's folder) onto the drive.
bool WriteDemoRecorderOn(char drive);

// A folder for the scenario's own files, reachable from the program too.
std::string WorkFolder();
// A folder inside it, made with its parents ("a\\b": a, then a\\b in it).
std::string WorkFolderIn(const std::string& names);
// Paths of these are UTF-8.
bool DeleteFileAt(const std::string& path);
std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// One track as tavolin-list reports it.
struct ListedTrack {
    uint32_t trackNumber;
    float length;
    int32_t bitrate;
    std::string groupName, artist, album, title, displayLine;
    std::string recorded;  // "YYYY-MM-DD HH:MM:SS", "" when the track has none
};
struct Listing {
    std::string discTitle;
    std::vector<ListedTrack> tracks;
};
// Runs tavolin-list (beside tavolin.exe) over the recorder on the drive, or
// over a path as the program's command line takes it.
bool ListWithTool(char drive, Listing* listing);
bool ListWithTool(const std::string& path, Listing* listing);
// Runs tavolin-list with the arguments; its standard output and error, as
// they came, in out. False when it could not be started.
bool RunListTool(const std::vector<std::string>& arguments, std::string* out);

// The eight controls of the main window's own layout.
struct MainControls {
    HWND trackList, getTracks, status, example, preview, exportList, saveFormat, loadFormat;
};

// One running tavolin.exe. Its standard output and error go to a log file, so
// a crash report of the platform ("Unhandled ...") can be found there.
class Tavolin {
public:
    Tavolin() = default;
    ~Tavolin();
    Tavolin(const Tavolin&) = delete;
    Tavolin& operator=(const Tavolin&) = delete;

    // Starts the program, with the arguments quoted on its command line,
    // and waits until its window is ready for input and its controls are
    // found. False with a reason in Error().
    bool Start(const std::vector<std::string>& arguments = {});
    // Milliseconds from the start until the window was ready for input.
    double StartMs() const { return startMs_; }

    // WM_CLOSE to the window, then waits for the process. False if it does
    // not end in time.
    bool Close(DWORD timeoutMs, DWORD* exitCode);
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode);
    bool IsRunning() const;

    std::string Log() const;
    // True when the log holds a crash report.
    bool HasCrashReport() const;
    const std::string& Error() const { return error_; }

    HWND Window() const { return window_; }
    DWORD ProcessId() const { return processId_; }
    const MainControls& Controls() const { return controls_; }

    std::string Caption() const;
    std::vector<std::string> Lines() const;
    // Control rectangle in the window's client coordinates.
    RECT ClientRect(HWND control) const;

    // The panel's combo box on the line of the label with this text (the
    // nearest one to the label's right), or null.
    HWND PanelCombo(const char* label) const;
    // The nth (0-based) panel combo box, top to bottom and left to right, of
    // those whose items include `item`.
    HWND PanelComboWithItem(const char* item, int nth = 0) const;
    // The panel edit on the line of the label, or null.
    HWND PanelEdit(const char* label) const;
    // Chooses the combo item with this text and tells the window as a
    // user's choice would; then waits until the panel settled.
    bool Choose(HWND combo, const char* item);
    // Lets the window handle everything it has queued (a posted panel
    // rebuild included).
    void Settle() const;

    // Posts a click and waits for the dialog with the title (a file dialog or
    // a message box) that it opens.
    HWND ClickForDialog(HWND button, const char* dialogTitle);
    // Drops the paths on the window as the shell does: WM_DROPFILES with a
    // drop handle whose block (DROPFILES and the wide paths) lies in the
    // program's memory. Wine copies no drop handle between processes, so the
    // block is written there; the program's DragFinish cannot free it, and it
    // goes with the process.
    bool Drop(const std::vector<std::string>& paths);

private:
    bool FindControls();

    PROCESS_INFORMATION pi_ = {};
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    MainControls controls_ = {};
    std::string logPath_;
    std::string error_;
    double startMs_ = 0;
};

// Path of tavolin.exe: TAVOLIN_EXE, else beside the running test.
std::string TavolinPath();

}  // namespace app_driver
