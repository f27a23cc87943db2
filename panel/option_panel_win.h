#pragma once
#include <windows.h>

#include <cstdint>

#include "base/messages.h"
#include "panel/option_rows.h"
#include "ui/window_context_win.h"

// The option panel: lays out registered row tables as labelled controls in a
// window context, rebuilds a row's child rows when its active choice changes,
// and keeps the controls and the table handler's values in step. GUI thread only.

constexpr uint32_t TABLE_REGISTRY_SIZE = 1024;
constexpr uint32_t PANEL_REGISTRY_SIZE = 255;

struct TableRegistration {
    int32_t index;
    OptionRow* table;
    TableHandler handler;
};

struct PanelEntry {
    HWND control;               // null: none
    HWND label;                 // null: none
    OptionRow* row;             // null: entry is free (with control and label null)
    uint32_t position;          // (x << 16) | (line top y & 0xFFFF), unscaled panel units
    OptionChoice* shownChoice;  // choice whose child rows were laid out with this row
    TableHandler handler;       // what the control's changes are set through
};

extern TableRegistration TableRegistry[TABLE_REGISTRY_SIZE];
extern PanelEntry PanelRegistry[PANEL_REGISTRY_SIZE];

void RegisterOptionTable(const TableRegistration& registration);
int ShowOptionTable(WindowContext* context, int x, int y, int tableIndex);
int BuildRows(WindowContext* context, OptionRow* table, int x, int y, int firstLine, TableHandler handler);
void ClearPanel(WindowContext* context);
// MessageCallback of MSG_PANEL_REBUILD; user is the panel origin as a
// position word (PackPosition).
void RebuildRow(WindowContext* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                intptr_t user);
// ControlCallback of every panel control: data is its PanelEntry.
void OnOptionChanged(WindowContext* context, HWND control, intptr_t param, void* data);
// The panel's controls (not its labels) in reading order: line by line, left
// to right. Returns how many there are; at most capacity are written.
size_t PanelControlsInOrder(HWND* controls, size_t capacity);
// Called after the panel laid out its rows anew (ShowOptionTable, a
// rebuild), when its controls may stand otherwise; null: none.
extern void (*gPanelLaidOut)(WindowContext* context);
void MarkChoices(WindowContext* context, OptionRow* table, bool post);
