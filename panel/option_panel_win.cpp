#include "panel/option_panel_win.h"

#include <cstring>

#include "panel/option_values.h"
#include "panel/row_layout.h"
#include "ui/controls_win.h"

TableRegistration TableRegistry[TABLE_REGISTRY_SIZE];
PanelEntry PanelRegistry[PANEL_REGISTRY_SIZE];

namespace {

// Labels and controls keep their height; place and width follow the window.
constexpr uint32_t PANEL_RESIZE_FLAGS = RESIZE_X | RESIZE_Y | RESIZE_WIDTH;
constexpr char PANEL_FONT_FACE[] = "Courier new";
constexpr int PANEL_FONT_HEIGHT = 15;
constexpr int PANEL_FONT_WIDTH = 8;
// A handler answer starting with this byte asks an edit to show the row's
// default text instead.
constexpr char DEFAULT_TEXT_MARK = '\x01';
// An edit's value is read with room for 253 characters.
constexpr int EDIT_READ_SIZE = 254;

using ValueText = char[OPTION_VALUE_SIZE + 1];

// Index of the table the panel shows; -1 before ShowOptionTable.
int gShownTable = -1;

// Writing an edit's text makes the edit report a change, like a keystroke.
// While the panel writes, it notes which control and why, so that
// OnOptionChanged can tell its own writes from the user's.
enum OwnWriteKind {
    WRITE_NONE,
    WRITE_SHOWN,           // the value shown when the row is laid out
    WRITE_AFTER_REFUSAL,   // the stored value put back after a refused set
    WRITE_AFTER_INVALID,   // the stored value put back after an invalid number
};
struct OwnWrite {
    HWND control;
    OwnWriteKind kind;
};
OwnWrite gOwnWrite = {nullptr, WRITE_NONE};

class OwnWriteScope {
public:
    OwnWriteScope(HWND control, OwnWriteKind kind) : saved_(gOwnWrite) { gOwnWrite = {control, kind}; }
    ~OwnWriteScope() { gOwnWrite = saved_; }
    OwnWriteScope(const OwnWriteScope&) = delete;
    OwnWriteScope& operator=(const OwnWriteScope&) = delete;

private:
    OwnWrite saved_;
};

const TableRegistration* ShownRegistration()
{
    if (gShownTable < 0 || static_cast<uint32_t>(gShownTable) >= TABLE_REGISTRY_SIZE) return nullptr;
    return &TableRegistry[gShownTable];
}

// Asks the handler for a value. The buffer is cleared first, so a handler
// that does not answer leaves the empty text, and the answer always ends
// inside the buffer.
bool GetValue(WindowContext* context, TableHandler handler, uint32_t optionId, ValueText& text)
{
    std::memset(text, 0, sizeof text);
    const int handled = handler != nullptr ? handler(context, optionId, text, 0) : 0;
    text[OPTION_VALUE_SIZE] = '\0';
    return handled != 0;
}

bool IsFree(const PanelEntry& entry)
{
    return entry.control == nullptr && entry.label == nullptr && entry.row == nullptr;
}

int LowestFreeEntry()
{
    for (uint32_t i = 0; i < PANEL_REGISTRY_SIZE; ++i) {
        if (IsFree(PanelRegistry[i])) return static_cast<int>(i);
    }
    return -1;
}

int FindEntry(const OptionRow* row)
{
    for (uint32_t i = 0; i < PANEL_REGISTRY_SIZE; ++i) {
        if (PanelRegistry[i].row == row) return static_cast<int>(i);
    }
    return -1;
}

void ClearEntry(WindowContext* context, PanelEntry& entry)
{
    if (entry.control != nullptr) DestroyControl(context, entry.control);
    if (entry.label != nullptr) DestroyControl(context, entry.label);
    entry.control = nullptr;
    entry.label = nullptr;
    entry.row = nullptr;
}

void SetPanelFont(WindowContext* context, HWND control)
{
    SetControlFont(context, control, PANEL_FONT_HEIGHT, PANEL_FONT_WIDTH, 0, 0, PANEL_FONT_FACE);
}

struct BuildState {
    WindowContext* context;
    TableHandler handler;
};

// Fills a combo with the row's items and selects the shown choice, or for a
// combo without choices the last item that the value selects (the first item
// when none does).
void ShowComboValue(WindowContext* context, HWND combo, const RowPlacement& p, const char* value)
{
    const OptionRow* row = p.row;
    const bool exact = (row->flags & ROW_EXACT_MATCH) != 0;
    ItemCursor cursor(row->items);
    char item[ITEM_TEXT_MAX + 1];
    int matched = 0;
    for (int i = 0; cursor.Next(item); ++i) {
        AddItem(context, combo, item, 0, 0);
        if (ValueMatches(item, value, exact)) matched = i;
    }
    if (row->flags & ROW_HAS_CHOICES) {
        // Without an active choice the combo keeps the first item that AddItem selected.
        if (p.shownIndex >= 0) SelectItem(context, combo, p.shownIndex, 0);
    } else {
        SelectItem(context, combo, matched, 0);
    }
}

void ShowBuiltValue(WindowContext* context, TableHandler handler, HWND control,
                    const RowPlacement& p)
{
    const OptionRow* row = p.row;
    ValueText value;
    GetValue(context, handler, row->optionId, value);
    switch (row->kind) {
        case CONTROL_EDIT: {
            // Showing the stored value is no change of it.
            OwnWriteScope own(control, WRITE_SHOWN);
            SetControlText(control, value[0] == DEFAULT_TEXT_MARK ? row->items : value);
            break;
        }
        case CONTROL_CHECK_BOX:
            SetCheck(control, value[0] == '1');
            break;
        case CONTROL_COMBO_BOX:
            ShowComboValue(context, control, p, value);
            break;
        default:
            break;
    }
}

// Takes the lowest free entry for the row and creates its label and control
// at the row's place, scaled by the window's current factors. False when no
// entry is free: the row is not laid out.
bool PlaceRow(void* user, const RowPlacement& p)
{
    BuildState* s = static_cast<BuildState*>(user);
    WindowContext* context = s->context;
    const int index = LowestFreeEntry();
    if (index < 0) return false;
    PanelEntry& entry = PanelRegistry[index];
    OptionRow* row = p.row;
    entry.position = PackPosition(p.x, p.lineTop);
    entry.shownChoice = p.shownChoice;
    entry.row = row;
    entry.label = nullptr;
    entry.control = nullptr;

    float scaleX = 1.0f, scaleY = 1.0f;
    GetScaleFactors(context, &scaleX, &scaleY);
    if (row->label[0] != '\0') {
        const PanelRect r = LabelRect(*row, p.x, p.lineTop, scaleX, scaleY);
        entry.label = CreateControl(context, CONTROL_STATIC_TEXT, r.x, r.y, r.width, r.height,
                                    row->label, PANEL_RESIZE_FLAGS, nullptr, 0, 0);
        if (entry.label != nullptr) SetPanelFont(context, entry.label);
    }
    if (row->flags & ROW_LABEL_ONLY) return true;

    const PanelRect r = ControlRect(*row, p.x, p.lineTop, scaleX, scaleY);
    entry.control = CreateControl(context, row->kind, r.x, r.y, r.width, r.height, "",
                                  PANEL_RESIZE_FLAGS, OnOptionChanged,
                                  reinterpret_cast<intptr_t>(s->handler),
                                  reinterpret_cast<intptr_t>(row));
    if (entry.control == nullptr) return true;
    SetPanelFont(context, entry.control);
    ShowBuiltValue(context, s->handler, entry.control, p);
    return true;
}

// Removes the row's label and control and, depth first, every row laid out
// under the choice that was shown with it (not the one active now). Each step
// frees one entry, so the walk ends whatever the tables hold.
void RemoveRowTree(WindowContext* context, OptionRow* row)
{
    const int index = FindEntry(row);
    if (index < 0) return;
    PanelEntry& entry = PanelRegistry[index];
    const OptionChoice* shown = (row->flags & ROW_HAS_CHOICES) ? entry.shownChoice : nullptr;
    ClearEntry(context, entry);
    if (shown == nullptr || shown->child == nullptr) return;
    for (OptionRow* child = shown->child; child->label != nullptr; ++child) {
        RemoveRowTree(context, child);
    }
}

// Puts a control back to the handler's current value after a refused or
// invalid set. The value read is left in text.
void RestoreControl(WindowContext* context, HWND control, const OptionRow* row, TableHandler handler,
                    bool wasInvalid, ValueText& text)
{
    GetValue(context, handler, row->optionId, text);
    switch (row->kind) {
        case CONTROL_EDIT: {
            const bool isNumeric = (row->flags & ROW_NUMERIC) != 0;
            OwnWriteScope own(control, wasInvalid ? WRITE_AFTER_INVALID : WRITE_AFTER_REFUSAL);
            SetControlText(control, isNumeric && !IsNonNegativeInteger(text) ? "" : text);
            break;
        }
        case CONTROL_CHECK_BOX:
            SetCheck(control, text[0] == '1');
            break;
        case CONTROL_COMBO_BOX:
            if (row->flags & ROW_HAS_CHOICES) {
                SetComboSelection(control, FirstActiveChoice(row->choices));
            } else {
                // The first item equal to the value; none selected when no item is.
                int selected = -1;
                const int count = GetComboCount(control);
                char item[ITEM_TEXT_MAX + 1];
                for (int i = 0; i < count && selected < 0; ++i) {
                    if (GetComboItemText(control, i, item, sizeof item) >= 0 &&
                        std::strcmp(item, text) == 0) {
                        selected = i;
                    }
                }
                SetComboSelection(control, selected);
            }
            break;
        default:
            break;
    }
}

}  // namespace

// An index past the registry is refused.
void RegisterOptionTable(const TableRegistration& registration)
{
    if (registration.index < 0 || static_cast<uint32_t>(registration.index) >= TABLE_REGISTRY_SIZE) {
        return;
    }
    TableRegistry[registration.index] = registration;
}

// A panel shown again (another table or origin) keeps one rebuild handler,
// with the new origin, rather than adding one per call to the context's
// limited handler table. An index past the registry is refused: -1, nothing
// changes.
int ShowOptionTable(WindowContext* context, int x, int y, int tableIndex)
{
    if (tableIndex < 0 || static_cast<uint32_t>(tableIndex) >= TABLE_REGISTRY_SIZE) return -1;
    const intptr_t origin =
        static_cast<intptr_t>((static_cast<uint32_t>(x) << 16) | (static_cast<uint32_t>(y) & 0xFFFF));
    bool registered = false;
    for (uint32_t i = context->handlerCount; i-- > 0;) {
        MessageHandler& h = context->handlers[i];
        if (h.key == MSG_PANEL_REBUILD && h.callback == RebuildRow) {
            h.user = origin;
            registered = true;
            break;
        }
    }
    if (!registered) AddMessageHandler(context, MSG_PANEL_REBUILD, RebuildRow, origin);
    ClearPanel(context);
    gShownTable = tableIndex;
    const TableRegistration& shown = TableRegistry[tableIndex];
    return BuildRows(context, shown.table, x, y, 0, shown.handler);
}

int BuildRows(WindowContext* context, OptionRow* table, int x, int y, int firstLine,
              TableHandler handler)
{
    BuildState state{context, handler};
    return LayoutRows(table, x, y, firstLine, -1, PlaceRow, &state);
}

void ClearPanel(WindowContext* context)
{
    for (PanelEntry& entry : PanelRegistry) ClearEntry(context, entry);
}

// Re-creates the whole panel (lParam 0), or one row with the child rows of
// its active choice in place of those of the choice shown so far. The row
// is laid out alone: the walk stops after it, so its table is never touched.
// A request for a row no longer on the panel (queued behind a rebuild that
// removed it) is skipped.
int RebuildRow(WindowContext* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
               intptr_t user)
{
    const int originX = static_cast<int>((static_cast<uintptr_t>(user) >> 16) & 0xFFFF);
    const int originY = static_cast<int>(static_cast<uintptr_t>(user) & 0xFFFF);
    const TableRegistration* shown = ShownRegistration();
    TableHandler handler = shown != nullptr ? shown->handler : nullptr;
    if (lParam == 0) {
        ClearPanel(context);
        if (shown != nullptr) BuildRows(context, shown->table, originX, originY, 0, handler);
        return 0;
    }
    OptionRow* row = reinterpret_cast<OptionRow*>(lParam);
    const int index = FindEntry(row);
    if (index < 0) return 0;
    int x = originX, y = originY;
    if (PanelRegistry[index].control != nullptr) {
        x = PositionX(PanelRegistry[index].position);
        y = PositionY(PanelRegistry[index].position);
    }
    RemoveRowTree(context, row);
    BuildState state{context, handler};
    LayoutRows(row, x, y, 0, 1, PlaceRow, &state);
    return 0;
}

// Reads a changed control, checks the value, sets it through the table's
// handler and puts the control back when the set is refused or the number is
// invalid. A choice row then marks the choice of the value and asks for a
// rebuild when its flags changed. The panel's own writes into an edit come
// back here as changes: the value shown at layout and the value put back
// after a refusal are ignored (so a refusal cannot repeat itself); the value
// put back after an invalid number is set once, as a typed value would be,
// but never put back again.
int OnOptionChanged(WindowContext* context, HWND control, intptr_t param, intptr_t handler,
                    intptr_t user)
{
    OptionRow* row = reinterpret_cast<OptionRow*>(user);
    TableHandler tableHandler = reinterpret_cast<TableHandler>(handler);
    if (row == nullptr) return 0;
    bool mayRestore = true;
    if (control == gOwnWrite.control && gOwnWrite.kind != WRITE_NONE) {
        if (gOwnWrite.kind != WRITE_AFTER_INVALID) return 0;
        mayRestore = false;
    }

    ValueText text;
    std::memset(text, 0, sizeof text);
    switch (row->kind) {
        case CONTROL_EDIT:
            GetControlText(control, text, EDIT_READ_SIZE);
            break;
        case CONTROL_CHECK_BOX:
            // A plain check box only reports the click; the panel toggles it.
            if (IsChecked(control)) {
                SetCheck(control, 0);
                text[0] = '0';
            } else {
                SetCheck(control, 1);
                text[0] = '1';
            }
            break;
        case CONTROL_COMBO_BOX:
            GetSelectedText(context, control, text, sizeof text);
            break;
        default:
            break;
    }

    const bool isValid = !(row->flags & ROW_NUMERIC) || IsNonNegativeInteger(text);
    const bool isSet = isValid && tableHandler != nullptr &&
                       tableHandler(context, row->optionId, text, 1) != 0;
    if (!isSet) {
        if (!mayRestore) return 0;
        RestoreControl(context, control, row, tableHandler, !isValid, text);
    }

    if ((row->flags & ROW_HAS_CHOICES) && ActivateMatchingChoice(row->choices, text)) {
        PostMessageA(MainWindowOf(context), MSG_PANEL_REBUILD, reinterpret_cast<WPARAM>(control),
                     reinterpret_cast<LPARAM>(row));
    }
    return 0;
}

// Re-derives the choice flags of every choice row of the table (and of the
// tables under each row's first choice) from the shown table's handler.
// A row whose value cannot be read keeps its flags.
void MarkChoices(WindowContext* context, OptionRow* table, int post)
{
    const TableRegistration* shown = ShownRegistration();
    TableHandler handler = shown != nullptr ? shown->handler : nullptr;
    for (OptionRow* row = table; row != nullptr && row->label != nullptr; ++row) {
        if (!(row->flags & ROW_HAS_CHOICES) || row->choices == nullptr) continue;
        ValueText value;
        if (GetValue(context, handler, row->optionId, value)) {
            MarkChoiceList(row->choices, value, (row->flags & ROW_EXACT_MATCH) != 0);
        }
        if (row->choices[0].child != nullptr) MarkChoices(context, row->choices[0].child, 0);
    }
    if (post) PostMessageA(MainWindowOf(context), MSG_PANEL_REBUILD, 0, 0);
}
