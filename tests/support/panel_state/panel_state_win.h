// Reads the option panel as the user sees it, entry by entry, and counts
// what a panel holds (entries, child windows, fonts), for the panel's tests,
// the application's scenarios and the benchmark.
#pragma once

#include <windows.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "panel/option_panel_win.h"

// One used PanelRegistry entry: its label and its control as the platform
// reports them.
struct PanelRowState {
    int entry;  // index in PanelRegistry
    const OptionRow* row;
    std::string label;               // label text; "" without a label
    POINT labelAt;                   // label's top-left in the parent's client area; (-1, -1) without
    std::string kind;                // control class ("Edit", "Button", "ComboBox"); "" without a control
    RECT controlAt;                  // control's rectangle in the client area
    std::string text;                // edit text, or the combo's current item
    int checked;                     // check box state; -1 for other kinds
    int selection;                   // combo selection; -1 for none or other kinds
    std::vector<std::string> items;  // combo items
};
std::ostream& operator<<(std::ostream& os, const PanelRowState& s);

std::vector<PanelRowState> ReadPanel();
// The entry state of a row; null when the row is not on the panel.
const PanelRowState* FindRowState(const std::vector<PanelRowState>& panel, const OptionRow* row);
int UsedPanelEntries();
// Every descendant window of the parent (EnumChildWindows).
int ChildWindowCount(HWND parent);
// Fonts held by the context's control records.
std::vector<HFONT> LiveFonts(WindowContext* context);
// "" when every font of the context's font table counts exactly the
// controls that hold it, and none is kept without one; else what differs.
std::string FontTableDifference(WindowContext* context);

// A table handler over a map of texts, for the panel's own tests: records
// every call and refuses sets while `busy` is set or for ids in `refused`.
struct RecordedOption {
    uint32_t optionId;
    std::string text;
    int set;
    int result;
};
struct TestOptionStore {
    std::map<uint32_t, std::string> values;  // unknown ids are refused
    std::vector<uint32_t> refused;
    bool busy = false;
    std::vector<RecordedOption> calls;
    std::vector<std::string> Sets(uint32_t optionId) const;  // texts of the sets of optionId
};
extern TestOptionStore gTestOptions;
int TestOptionHandler(WindowContext* context, uint32_t optionId, char* text, int set);
