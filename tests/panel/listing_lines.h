// The listing panel's lines 0-10 at origin (0, 260) in panel units: which
// labels and controls stand on each line and at which x.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "panel/listing_tables.h"
#include "panel/row_layout.h"

struct ListingPlace {
    std::string label;  // "" for none
    int line;           // panel line, counted from the origin
    int labelX;         // -1: no label
    int controlX;       // -1: no control
    int controlWidth;
    int controlY;  // control top (an edit's is one below its line top)
    bool operator==(const ListingPlace&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const ListingPlace& p) {
    return os << "{\"" << p.label << "\" line " << p.line << " label x " << p.labelX << " control x "
              << p.controlX << " w " << p.controlWidth << " y " << p.controlY << "}";
}

inline int ListingLineTop(int line) { return LISTING_PANEL_Y + LINE_PITCH * line; }

// In layout order; `children` names the slots (0-20) that show a child row
// and its label ("Amount:" or "Custom:").
inline std::vector<ListingPlace> ExpectedListingLines(
    const char* rounding, const std::vector<std::pair<int, const char*>>& children) {
    auto top = ListingLineTop;
    std::vector<ListingPlace> e = {
        {"List Type", 0, 4, 120, 230, top(0)},          {"First sort by", 1, 4, 120, 230, top(1)},
        {"  Case Sensitive:", 1, 344, 470, 20, top(1)}, {rounding, 1, 484, 690, 20, top(1)},
        {"Then sort by", 2, 4, 120, 230, top(2)},       {"  Case Sensitive:", 2, 344, 470, 20, top(2)},
        {"Finally sort by", 3, 4, 120, 230, top(3)},    {"  Case Sensitive:", 3, 344, 470, 20, top(3)},
    };
    // Line 4 is blank; three lines of seven format combos follow, each with
    // a line below for their child rows.
    for (int combos = 0; combos < 3; ++combos) {
        const int line = 5 + 2 * combos;
        e.push_back({combos == 0 ? "Format:" : "        ", line, 4, -1, 0, 0});
        for (int j = 0; j < 7; ++j) {
            e.push_back({"", line, -1, 70 + 100 * j, 100, top(line)});
            for (const auto& [slot, label] : children) {
                if (slot == combos * 7 + j) {
                    e.push_back({label, line + 1, 64 + 100 * j, 115 + 100 * j, 45, top(line + 1) + 1});
                }
            }
        }
    }
    return e;
}
