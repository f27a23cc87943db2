#include "panel/option_panel_win.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "panel/option_values.h"
#include "panel/row_layout.h"
#include "settings/format_settings.h"
#include "ui/controls_win.h"
#include "text/fields.h"

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
// Labels whose text is wider than the label in the panel font get the same
// face narrower (see SetControlFontToFit).
// An edit's value is read with room for 253 characters: one byte less than
// the handler's buffer holds.
constexpr int EDIT_READ_SIZE = int(OPTION_TEXT_SIZE) - 1;

// The buffer handed to a handler, with one byte more so that its last
// byte can always be made the terminator.
using ValueText = char[OPTION_TEXT_SIZE + 1];

// Index of the table the panel shows; -1 before ShowOptionTable.
int gShownTable = -1;

// Writing an edit's text makes the edit report a change, like a keystroke.
// While the panel writes, it notes which control and why, so that
// OnOptionChanged can tell its own writes from the user's.
enum OwnWriteKind {
    WRITE_NONE,
    WRITE_SHOWN,          // the value shown when the row is laid out
    WRITE_AFTER_REFUSAL,  // the stored value put back after a refused set
    WRITE_AFTER_INVALID,  // the stored value put back after an invalid number
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

// Panel windows that a rebuild took over and left showing what they showed,
// while a rebuild notes them (see RedrawPause).
bool gIsNotingUnchanged = false;
std::vector<HWND> gUnchanged;

void NoteUnchanged(HWND window) {
    if (gIsNotingUnchanged) gUnchanged.push_back(window);
}

// Holds the window's drawing off while the panel replaces its controls and
// redraws the window once at the end: controls made or destroyed in a
// window that does not draw are not painted one by one. The user sees the
// same final state. A rebuild (sparesUnchanged) redraws all but the panel
// windows it took over unchanged: their pixels are still right, unless
// part of them was waiting to be painted when the rebuild began (the area a
// closed drop-down list left, say), which turning the drawing off drops.
// Taking over the controls of the other listing mode changes only a few of
// them, and the rest of the window (the track list too) repaints as before.
class RedrawPause {
public:
    RedrawPause(HWND window, bool sparesUnchanged)
        : window_(IsWindowVisible(window) ? window : nullptr), wasNoting_(gIsNotingUnchanged) {
        if (window_ == nullptr) return;
        spares_ = sparesUnchanged && !gIsNotingUnchanged;
        if (spares_) {
            for (const PanelEntry& e : PanelRegistry) {
                for (HWND w : {e.label, e.control}) {
                    if (w != nullptr && GetUpdateRect(w, nullptr, FALSE)) pending_.push_back(w);
                }
            }
            gUnchanged.clear();
            gIsNotingUnchanged = true;
        }
        SetRedraw(window_, false);
    }
    ~RedrawPause() {
        if (window_ == nullptr) return;
        gIsNotingUnchanged = wasNoting_;
        SetRedraw(window_, true);
        constexpr UINT REDRAW = RDW_ERASE | RDW_FRAME | RDW_INVALIDATE;
        if (!spares_) {
            RedrawWindow(window_, nullptr, nullptr, REDRAW | RDW_ALLCHILDREN);
            return;
        }
        RECT client = {};
        GetClientRect(window_, &client);
        HRGN area = CreateRectRgnIndirect(&client);
        for (HWND w : gUnchanged) {
            if (!IsWindow(w) || std::find(pending_.begin(), pending_.end(), w) != pending_.end()) continue;
            RECT r = {};
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
            HRGN spared = CreateRectRgnIndirect(&r);
            CombineRgn(area, area, spared, RGN_DIFF);
            DeleteObject(spared);
        }
        gUnchanged.clear();
        // The window itself whole, frame too, then its children but the spared.
        RedrawWindow(window_, nullptr, nullptr, REDRAW | RDW_NOCHILDREN);
        RedrawWindow(window_, nullptr, area, REDRAW | RDW_ALLCHILDREN);
        DeleteObject(area);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    HWND window_;
    bool wasNoting_;
    bool spares_ = false;
    std::vector<HWND> pending_;  // panel windows with part waiting to be painted
};

// Labels and controls of the rows a rebuild removed, kept until the rebuild
// has laid out the new rows. A new row whose label or control would be made
// with the same kind at exactly the same place and size takes the kept one
// over instead: the rows of the two listing modes stand on the same places,
// and making a combo box (with its drop-down window) costs far more than
// refilling one. Whatever is left over is destroyed when the rebuild ends.
struct Parking {
    HWND windows[2 * PANEL_REGISTRY_SIZE];
    uint32_t count;
};
Parking gParked = {};

void Park(WindowContext* context, HWND window) {
    if (window == nullptr) return;
    if (gParked.count < sizeof gParked.windows / sizeof gParked.windows[0]) {
        gParked.windows[gParked.count++] = window;
    } else {
        DestroyControl(context, window);
    }
}

void DestroyParked(WindowContext* context) {
    for (uint32_t i = 0; i < gParked.count; ++i) DestroyControl(context, gParked.windows[i]);
    gParked.count = 0;
}

// A kept window that stands where a new one of that kind would be made: its
// record holds exactly the creation values asked for, never changed by a
// resize since, so the window is in every way where a new one would be.
HWND TakeParked(WindowContext* context, ControlKind kind, const PanelRect& place) {
    for (uint32_t i = 0; i < gParked.count; ++i) {
        const ControlRecord* r = FindControl(context, gParked.windows[i]);
        if (r == nullptr || r->kind != kind || r->resizeFlags != PANEL_RESIZE_FLAGS) continue;
        const float want[4] = {static_cast<float>(place.x), static_cast<float>(place.y),
                               static_cast<float>(place.width), static_cast<float>(place.height)};
        const float now[4] = {r->x, r->y, r->width, r->height};
        const float made[4] = {r->createX, r->createY, r->createWidth, r->createHeight};
        bool isSame = true;
        for (int k = 0; k < 4; ++k) isSame = isSame && now[k] == want[k] && made[k] == want[k];
        if (!isSame) continue;
        HWND window = gParked.windows[i];
        gParked.windows[i] = gParked.windows[--gParked.count];
        return window;
    }
    return nullptr;
}

const TableRegistration* ShownRegistration() {
    if (gShownTable < 0 || static_cast<uint32_t>(gShownTable) >= TABLE_REGISTRY_SIZE) return nullptr;
    return &TableRegistry[gShownTable];
}

// Asks the handler for a value. The buffer is cleared first, so a handler
// that does not answer leaves the empty text, and the answer always ends
// inside the buffer.
bool GetValue(WindowContext* context, TableHandler handler, uint32_t optionId, ValueText& text) {
    std::memset(text, 0, sizeof text);
    const int handled = handler != nullptr ? handler(context, optionId, text, 0) : 0;
    text[OPTION_TEXT_SIZE] = '\0';
    return handled != 0;
}

bool IsFree(const PanelEntry& entry) {
    return entry.control == nullptr && entry.label == nullptr && entry.row == nullptr;
}

int LowestFreeEntry() {
    for (uint32_t i = 0; i < PANEL_REGISTRY_SIZE; ++i) {
        if (IsFree(PanelRegistry[i])) return static_cast<int>(i);
    }
    return -1;
}

int FindEntry(const OptionRow* row) {
    for (uint32_t i = 0; i < PANEL_REGISTRY_SIZE; ++i) {
        if (PanelRegistry[i].row == row) return static_cast<int>(i);
    }
    return -1;
}

// Frees the entry; its label and control are destroyed, or kept for the
// rows that a rebuild lays out next.
void ClearEntry(WindowContext* context, PanelEntry& entry, bool keep = false) {
    if (keep) {
        Park(context, entry.control);
        Park(context, entry.label);
    } else {
        if (entry.control != nullptr) DestroyControl(context, entry.control);
        if (entry.label != nullptr) DestroyControl(context, entry.label);
    }
    entry.control = nullptr;
    entry.label = nullptr;
    entry.row = nullptr;
    entry.handler = nullptr;
}

void SetPanelFont(WindowContext* context, HWND control) {
    SetControlFont(context, control, PANEL_FONT_HEIGHT, PANEL_FONT_WIDTH, 0, 0, PANEL_FONT_FACE);
}

// A label's text wider than its label would wrap into a second line that
// the label's height cuts off ("  Case Sensitive:" is 17 characters of the
// 8-pixel face in 120 pixels).
void SetLabelFont(WindowContext* context, HWND label, const char* text) {
    SetControlFontToFit(context, label, PANEL_FONT_HEIGHT, PANEL_FONT_WIDTH, 0, 0, PANEL_FONT_FACE, text);
}

struct ComboItem {
    char text[ITEM_TEXT_MAX + 1];
};

struct BuildState {
    WindowContext* context;
    TableHandler handler;
};

// Fills a combo with the row's items, in place of any it held, and selects
// the shown choice, or for a combo without choices the last item that the
// value selects (the first item when none does). An item equal to an earlier
// one but for the case of A-Z is left out, as AddItem leaves it out; the
// items go in as one batch. The combo does not draw meanwhile: its drop-down
// list then sets its scroll bar once, for the new items, rather than on
// every item and on the reset (under Wine each of those hid or showed the
// hidden list's scroll bar, a frame change of that window, and refilling
// the panel's 25 combos took most of a switch of the listing mode).
void ShowComboValue(HWND combo, const RowPlacement& p, const char* value) {
    const OptionRow* row = p.row;
    const bool exact = (row->flags & ROW_EXACT_MATCH) != 0;
    std::vector<ComboItem> items;
    std::vector<const char*> texts;
    ItemCursor cursor(row->items);
    ComboItem item;
    int matched = 0;
    for (int i = 0; cursor.Next(item.text); ++i) {
        if (ValueMatches(item.text, value, exact)) matched = i;
        const bool isRepeat = std::any_of(items.begin(), items.end(), [&](const ComboItem& earlier) {
            return TextEqualsFolded(earlier.text, sizeof earlier.text, item.text);
        });
        if (!isRepeat) items.push_back(item);
    }
    for (const ComboItem& i : items) texts.push_back(i.text);
    SetRedraw(combo, false);
    ClearComboItems(combo);
    AppendComboItems(combo, texts.data(), texts.size());
    if (row->flags & ROW_HAS_CHOICES) {
        // Without an active choice the combo keeps its first item, selected by the fill.
        if (p.shownIndex >= 0) SetComboSelection(combo, p.shownIndex);
    } else {
        SetComboSelection(combo, matched);
    }
    SetRedraw(combo, true);
}

void ShowBuiltValue(WindowContext* context, TableHandler handler, HWND control, const RowPlacement& p) {
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
    case CONTROL_CHECK_BOX: SetCheck(control, value[0] == '1'); break;
    case CONTROL_COMBO_BOX: ShowComboValue(control, p, value); break;
    default: break;
    }
}

// What a control shows of its value: a combo its selected item, a check box
// its state. False for an edit, whose caret and selection move with every
// value shown.
bool ReadLook(HWND control, ControlKind kind, ValueText& look) {
    std::memset(look, 0, sizeof look);
    switch (kind) {
    case CONTROL_COMBO_BOX: {
        const int selected = GetComboSelection(control);
        if (selected < 0) {
            look[0] = DEFAULT_TEXT_MARK;  // none selected: no item text starts so
            return true;
        }
        return GetComboItemText(control, selected, look, sizeof look) >= 0;
    }
    case CONTROL_CHECK_BOX: look[0] = IsChecked(control) ? '1' : '0'; return true;
    default: return false;
    }
}

// A label or control with the panel's font at place: a kept one taken over
// (bound to the new row; a combo keeps its items until ShowComboValue
// replaces them) or a new one.
HWND MakeControl(WindowContext* context, ControlKind kind, const PanelRect& place, const char* text,
                 ControlCallback callback, void* callbackData, bool* isKept = nullptr) {
    HWND window = TakeParked(context, kind, place);
    if (isKept != nullptr) *isKept = window != nullptr;
    if (window == nullptr) {
        window = CreateControl(context, kind, place.x, place.y, place.width, place.height, text,
                               PANEL_RESIZE_FLAGS, callback, callbackData);
        if (window == nullptr) return nullptr;
        if (kind == CONTROL_STATIC_TEXT) {
            SetLabelFont(context, window, text);
        } else {
            SetPanelFont(context, window);
        }
        return window;
    }
    ControlRecord* r = FindControl(context, window);
    r->callback = callback;
    r->callbackData = callbackData;
    if (kind == CONTROL_STATIC_TEXT) {
        char shown[OPTION_TEXT_SIZE + 1] = "";
        GetControlText(window, shown, sizeof shown);
        if (std::strcmp(shown, text) != 0) {
            SetControlText(window, text);
            SetLabelFont(context, window, text);
        } else {
            NoteUnchanged(window);
        }
    }
    return window;
}

// Takes the lowest free entry for the row and creates its label and control
// at the row's place, scaled by the window's current factors. False when no
// entry is free: the row is not laid out.
bool PlaceRow(void* user, const RowPlacement& p) {
    BuildState* s = static_cast<BuildState*>(user);
    WindowContext* context = s->context;
    const int index = LowestFreeEntry();
    if (index < 0) return false;
    PanelEntry& entry = PanelRegistry[index];
    OptionRow* row = p.row;
    entry.position = PackPosition(p.x, p.lineTop);
    entry.shownChoice = p.shownChoice;
    entry.handler = s->handler;
    entry.row = row;
    entry.label = nullptr;
    entry.control = nullptr;

    float scaleX = 1.0f, scaleY = 1.0f;
    GetScaleFactors(context, &scaleX, &scaleY);
    if (row->label[0] != '\0') {
        entry.label = MakeControl(context, CONTROL_STATIC_TEXT,
                                  LabelRect(*row, p.x, p.lineTop, scaleX, scaleY), row->label, nullptr, nullptr);
    }
    if (row->flags & ROW_LABEL_ONLY) return true;

    bool isKept = false;
    entry.control = MakeControl(context, row->kind, ControlRect(*row, p.x, p.lineTop, scaleX, scaleY), "",
                                OnOptionChanged, &entry, &isKept);
    if (entry.control == nullptr) return true;
    ValueText before, after;
    const bool hasLook = isKept && ReadLook(entry.control, row->kind, before);
    ShowBuiltValue(context, s->handler, entry.control, p);
    if (hasLook && ReadLook(entry.control, row->kind, after) && std::strcmp(before, after) == 0) {
        NoteUnchanged(entry.control);
    }
    return true;
}

// Removes the row's label and control and, depth first, every row laid out
// under the choice that was shown with it (not the one active now). Each step
// frees one entry, so the walk ends whatever the tables hold.
void RemoveRowTree(WindowContext* context, OptionRow* row) {
    const int index = FindEntry(row);
    if (index < 0) return;
    PanelEntry& entry = PanelRegistry[index];
    const OptionChoice* shown = (row->flags & ROW_HAS_CHOICES) ? entry.shownChoice : nullptr;
    ClearEntry(context, entry, true);
    if (shown == nullptr || shown->child == nullptr) return;
    for (OptionRow* child = shown->child; child->label != nullptr; ++child) {
        RemoveRowTree(context, child);
    }
}

// Puts a control back to the handler's current value after a refused or
// invalid set. The value read is left in text.
void RestoreControl(WindowContext* context, HWND control, const OptionRow* row, TableHandler handler,
                    bool wasInvalid, ValueText& text) {
    GetValue(context, handler, row->optionId, text);
    switch (row->kind) {
    case CONTROL_EDIT: {
        const bool isNumeric = (row->flags & ROW_NUMERIC) != 0;
        OwnWriteScope own(control, wasInvalid ? WRITE_AFTER_INVALID : WRITE_AFTER_REFUSAL);
        SetControlText(control, isNumeric && !IsNonNegativeInteger(text) ? "" : text);
        break;
    }
    case CONTROL_CHECK_BOX: SetCheck(control, text[0] == '1'); break;
    case CONTROL_COMBO_BOX:
        if (row->flags & ROW_HAS_CHOICES) {
            SetComboSelection(control, FirstActiveChoice(row->choices));
        } else {
            // The first item equal to the value; none selected when no item is.
            int selected = -1;
            const int count = GetComboCount(control);
            char item[ITEM_TEXT_MAX + 1];
            for (int i = 0; i < count && selected < 0; ++i) {
                if (GetComboItemText(control, i, item, sizeof item) >= 0 && std::strcmp(item, text) == 0) {
                    selected = i;
                }
            }
            SetComboSelection(control, selected);
        }
        break;
    default: break;
    }
}

}  // namespace

// An index past the registry is refused.
void RegisterOptionTable(const TableRegistration& registration) {
    if (registration.index < 0 || static_cast<uint32_t>(registration.index) >= TABLE_REGISTRY_SIZE) {
        return;
    }
    TableRegistry[registration.index] = registration;
}

// A panel shown again (another table or origin) keeps one rebuild handler,
// with the new origin, rather than adding one per call to the context's
// limited handler table. An index past the registry is refused: -1, nothing
// changes.
int ShowOptionTable(WindowContext* context, int x, int y, int tableIndex) {
    if (tableIndex < 0 || static_cast<uint32_t>(tableIndex) >= TABLE_REGISTRY_SIZE) return -1;
    SetMessageHandler(context, MSG_PANEL_REBUILD, RebuildRow, static_cast<intptr_t>(PackPosition(x, y)));
    RedrawPause pause(MainWindowOf(context), false);
    ClearPanel(context);
    gShownTable = tableIndex;
    const TableRegistration& shown = TableRegistry[tableIndex];
    const int lastLine = BuildRows(context, shown.table, x, y, 0, shown.handler);
    if (gPanelLaidOut != nullptr) gPanelLaidOut(context);
    return lastLine;
}

int BuildRows(WindowContext* context, OptionRow* table, int x, int y, int firstLine, TableHandler handler) {
    BuildState state{context, handler};
    return LayoutRows(table, x, y, firstLine, -1, PlaceRow, &state);
}

void ClearPanel(WindowContext* context) {
    for (PanelEntry& entry : PanelRegistry) ClearEntry(context, entry);
}

// Lays out the whole panel again (lParam 0), or one row with the child rows
// of its active choice in place of those of the choice shown so far. The row
// is laid out alone: the walk stops after it, so its table is never touched.
// A request for a row no longer on the panel (queued behind a rebuild that
// removed it) is skipped.
void RebuildRow(WindowContext* context, HWND, UINT, WPARAM, LPARAM lParam, intptr_t user) {
    const int originX = PositionX(static_cast<uint32_t>(user));
    const int originY = PositionY(static_cast<uint32_t>(user));
    const TableRegistration* shown = ShownRegistration();
    TableHandler handler = shown != nullptr ? shown->handler : nullptr;
    if (lParam == 0) {
        RedrawPause pause(MainWindowOf(context), true);
        for (PanelEntry& entry : PanelRegistry) ClearEntry(context, entry, true);
        if (shown != nullptr) BuildRows(context, shown->table, originX, originY, 0, handler);
        DestroyParked(context);
        if (gPanelLaidOut != nullptr) gPanelLaidOut(context);
        return;
    }
    OptionRow* row = reinterpret_cast<OptionRow*>(lParam);
    const int index = FindEntry(row);
    if (index < 0) return;
    int x = originX, y = originY;
    if (PanelRegistry[index].control != nullptr) {
        x = PositionX(PanelRegistry[index].position);
        y = PositionY(PanelRegistry[index].position);
    }
    RedrawPause pause(MainWindowOf(context), true);
    RemoveRowTree(context, row);
    BuildState state{context, handler};
    LayoutRows(row, x, y, 0, 1, PlaceRow, &state);
    DestroyParked(context);
    if (gPanelLaidOut != nullptr) gPanelLaidOut(context);
}

// Reads a changed control, checks the value, sets it through the table's
// handler and puts the control back when the set is refused or the number is
// invalid. A choice row then marks the choice of the value and asks for a
// rebuild when its flags changed. The panel's own writes into an edit come
// back here as changes: the value shown at layout and the value put back
// after a refusal are ignored (so a refusal cannot repeat itself); the value
// put back after an invalid number is set once, as a typed value would be,
// but never put back again.
void OnOptionChanged(WindowContext* context, HWND control, intptr_t, void* data) {
    const PanelEntry* entry = static_cast<const PanelEntry*>(data);
    // A control kept for a rebuild still names the entry it was made for,
    // which may by now hold another row.
    if (entry == nullptr || entry->row == nullptr || entry->control != control) return;
    OptionRow* row = entry->row;
    TableHandler tableHandler = entry->handler;
    bool mayRestore = true;
    if (control == gOwnWrite.control && gOwnWrite.kind != WRITE_NONE) {
        if (gOwnWrite.kind != WRITE_AFTER_INVALID) return;
        mayRestore = false;
    }

    ValueText text;
    std::memset(text, 0, sizeof text);
    switch (row->kind) {
    case CONTROL_EDIT: GetControlText(control, text, EDIT_READ_SIZE); break;
    case CONTROL_CHECK_BOX:
        // A plain check box only reports the click; the panel toggles it.
        if (IsChecked(control)) {
            SetCheck(control, false);
            text[0] = '0';
        } else {
            SetCheck(control, true);
            text[0] = '1';
        }
        break;
    case CONTROL_COMBO_BOX: GetSelectedText(context, control, text, sizeof text); break;
    default: break;
    }

    const bool isValid = !(row->flags & ROW_NUMERIC) || IsNonNegativeInteger(text);
    const bool isSet =
        isValid && tableHandler != nullptr && tableHandler(context, row->optionId, text, 1) != 0;
    if (!isSet) {
        if (!mayRestore) return;
        RestoreControl(context, control, row, tableHandler, !isValid, text);
    }

    if ((row->flags & ROW_HAS_CHOICES) && ActivateMatchingChoice(row->choices, text)) {
        PostMessageW(MainWindowOf(context), MSG_PANEL_REBUILD, reinterpret_cast<WPARAM>(control),
                     reinterpret_cast<LPARAM>(row));
    }
}

void (*gPanelLaidOut)(WindowContext* context) = nullptr;

// Positions compare as line top first, then x: the packed word alone puts x
// first.
size_t PanelControlsInOrder(HWND* controls, size_t capacity) {
    std::vector<const PanelEntry*> shown;
    for (const PanelEntry& e : PanelRegistry) {
        if (e.control != nullptr) shown.push_back(&e);
    }
    std::stable_sort(shown.begin(), shown.end(), [](const PanelEntry* a, const PanelEntry* b) {
        const int ya = PositionY(a->position), yb = PositionY(b->position);
        return ya != yb ? ya < yb : PositionX(a->position) < PositionX(b->position);
    });
    for (size_t i = 0; i < shown.size() && i < capacity; ++i) controls[i] = shown[i]->control;
    return shown.size();
}

// Re-derives the choice flags of every choice row of the table (and of the
// tables under each row's first choice) from the shown table's handler.
// A row whose value cannot be read keeps its flags.
void MarkChoices(WindowContext* context, OptionRow* table, bool post) {
    const TableRegistration* shown = ShownRegistration();
    TableHandler handler = shown != nullptr ? shown->handler : nullptr;
    for (OptionRow* row = table; row != nullptr && row->label != nullptr; ++row) {
        if (!(row->flags & ROW_HAS_CHOICES) || row->choices == nullptr) continue;
        ValueText value;
        if (GetValue(context, handler, row->optionId, value)) {
            MarkChoiceList(row->choices, value, (row->flags & ROW_EXACT_MATCH) != 0);
        }
        if (row->choices[0].child != nullptr) MarkChoices(context, row->choices[0].child, false);
    }
    if (post) PostMessageW(MainWindowOf(context), MSG_PANEL_REBUILD, 0, 0);
}
