#include "support/panel_state/panel_state_win.h"

#include <algorithm>
#include <cstring>

#include "ui/controls_win.h"

namespace {

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(0, got)));
    return text;
}

RECT ClientRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

BOOL CALLBACK CountChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const PanelRowState& s) {
    os << "entry " << s.entry << " label \"" << s.label << "\"";
    if (!s.kind.empty()) {
        os << " " << s.kind << " at (" << s.controlAt.left << ", " << s.controlAt.top << ") text \"" << s.text
           << "\"";
    }
    return os;
}

std::vector<PanelRowState> ReadPanel() {
    std::vector<PanelRowState> panel;
    for (uint32_t i = 0; i < PANEL_REGISTRY_SIZE; ++i) {
        const PanelEntry& e = PanelRegistry[i];
        if (e.row == nullptr && e.control == nullptr && e.label == nullptr) continue;
        PanelRowState s{static_cast<int>(i), e.row, "", {-1, -1}, "", {}, "", -1, -1, {}};
        if (e.label != nullptr) {
            s.label = TextOf(e.label);
            const RECT r = ClientRectOf(e.label);
            s.labelAt = {r.left, r.top};
        }
        if (e.control != nullptr) {
            s.kind = ClassOf(e.control);
            s.controlAt = ClientRectOf(e.control);
            if (s.kind == "ComboBox") {
                s.selection = GetComboSelection(e.control);
                char item[256];
                for (int k = 0; k < GetComboCount(e.control); ++k) {
                    GetComboItemText(e.control, k, item, sizeof item);
                    s.items.push_back(item);
                }
                if (s.selection >= 0) s.text = s.items[static_cast<size_t>(s.selection)];
            } else if (s.kind == "Button") {
                s.checked = static_cast<int>(SendMessageA(e.control, BM_GETCHECK, 0, 0));
                s.text = TextOf(e.control);
            } else {
                s.text = TextOf(e.control);
            }
        }
        panel.push_back(s);
    }
    return panel;
}

const PanelRowState* FindRowState(const std::vector<PanelRowState>& panel, const OptionRow* row) {
    for (const PanelRowState& s : panel) {
        if (s.row == row) return &s;
    }
    return nullptr;
}

int UsedPanelEntries() {
    int used = 0;
    for (const PanelEntry& e : PanelRegistry) {
        if (e.row != nullptr || e.control != nullptr || e.label != nullptr) ++used;
    }
    return used;
}

int ChildWindowCount(HWND parent) {
    int count = 0;
    EnumChildWindows(parent, CountChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

std::vector<HFONT> LiveFonts(WindowContext* context) {
    std::vector<HFONT> fonts;
    for (uint32_t i = 0; i < context->controlCount; ++i) {
        if (context->controls[i].record.font != nullptr) fonts.push_back(context->controls[i].record.font);
    }
    return fonts;
}

std::string FontTableDifference(WindowContext* context) {
    std::string out;
    for (const SharedFont& f : context->fonts) {
        uint32_t users = 0;
        for (uint32_t i = 0; i < context->controlCount; ++i) users += context->controls[i].record.font == f.font;
        if (f.font == nullptr ? f.users != 0 : users != f.users || users == 0) {
            out += "font of height " + std::to_string(f.height) + ", width " + std::to_string(f.width) +
                   ": counted " + std::to_string(f.users) + " users, held by " + std::to_string(users) + "; ";
        }
    }
    return out;
}

TestOptionStore gTestOptions;

std::vector<std::string> TestOptionStore::Sets(uint32_t optionId) const {
    std::vector<std::string> out;
    for (const RecordedOption& c : calls) {
        if (c.set && c.optionId == optionId) out.push_back(c.text);
    }
    return out;
}

int TestOptionHandler(WindowContext*, uint32_t optionId, char* text, int set) {
    TestOptionStore& s = gTestOptions;
    const auto value = s.values.find(optionId);
    int result = 0;
    if (value == s.values.end()) {
        result = 0;
    } else if (!set) {
        // Handlers are given at least 255 bytes.
        std::strncpy(text, value->second.c_str(), 254);
        text[254] = '\0';
        result = 1;
    } else if (!s.busy && std::find(s.refused.begin(), s.refused.end(), optionId) == s.refused.end()) {
        value->second = text;
        result = 1;
    }
    s.calls.push_back({optionId, text, set, result});
    return result;
}
