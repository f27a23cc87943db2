// Where rows go: the listing panel's lines and x positions at scale 1 and
// scaled, and the walk's rules on small tables (same-line rows, label-only
// rows, child rows, a one-row layout, a row that finds no room).
#include "panel/row_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/listing_tables.h"
#include "tests/panel/listing_lines.h"

namespace {

using Placed = ListingPlace;

struct Recorder {
    explicit Recorder(int y, float sx = 1.0f, float sy = 1.0f) : originY(y), scaleX(sx), scaleY(sy) {}
    int originY;
    float scaleX, scaleY;
    std::vector<Placed> placed;  // rows with a label or a control
    std::vector<RowPlacement> all;
    int refuseFrom = -1;  // placements from this one on find no room
};

bool Record(void* user, const RowPlacement& p) {
    Recorder* r = static_cast<Recorder*>(user);
    if (r->refuseFrom >= 0 && static_cast<int>(r->all.size()) >= r->refuseFrom) return false;
    r->all.push_back(p);
    const bool hasLabel = p.row->label[0] != '\0';
    const bool hasControl = !(p.row->flags & ROW_LABEL_ONLY);
    if (!hasLabel && !hasControl) return true;
    const PanelRect label = LabelRect(*p.row, p.x, p.lineTop, r->scaleX, r->scaleY);
    const PanelRect control = ControlRect(*p.row, p.x, p.lineTop, r->scaleX, r->scaleY);
    r->placed.push_back({p.row->label, (p.lineTop - r->originY) / LINE_PITCH, hasLabel ? label.x : -1,
                         hasControl ? control.x : -1, hasControl ? control.width : 0,
                         hasControl ? control.y : 0});
    return true;
}

void SetActive(OptionRow& row, const char* text) {
    for (OptionChoice* c = row.choices; c->child != nullptr; ++c) c->active = std::string(c->text) == text;
}

// The line / x table of the listing panel, fresh and with child rows in
// each of the three format lines, in both modes; then the same places times
// the scale factors of a widened window, truncated.
TEST(RowLayout, ListingPanelLines) {
    struct Case {
        const char* name;
        bool group;
        std::vector<std::pair<int, const char*>> children;  // slot, token
    };
    const std::vector<Case> cases = {
        {"fresh", false, {}},
        {"children", false, {{0, "<CRLF>"}, {8, "<Custom>"}, {20, "-"}, {13, "Title"}}},
        {"group children", true, {{6, "\\"}, {14, "<Custom>"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildListingTables();
        OptionRow* rows = c.group ? GroupListingRows : FullListingRows;
        if (c.group) SetActive(ListTypeTable[0], "Group Listing");
        std::vector<std::pair<int, const char*>> shown;
        for (const auto& [slot, token] : c.children) {
            // Format rows are the 10th-16th, 20th-26th and 30th-36th rows.
            SetActive(rows[9 + slot + 3 * (slot / 7)], token);
            const std::string t = token;
            if (t == "<Custom>") {
                shown.push_back({slot, "Custom:"});
            } else if (t != "Title") {
                shown.push_back({slot, "Amount:"});
            }
        }
        Recorder r(LISTING_PANEL_Y);
        const int last = LayoutRows(ListTypeTable, LISTING_PANEL_X, LISTING_PANEL_Y, 0, -1, Record, &r);
        const std::vector<Placed> expected = ExpectedListingLines(
            c.group ? "     Group length rounding:" : "     Track length rounding:", shown);
        EXPECT_EQ(r.placed, expected);
        // One line index per non-label row and per child row; the panel's own
        // line 0 row adds none of its own beyond them.
        EXPECT_EQ(last, 28 + static_cast<int>(shown.size()));

        // A window widened from 754 to 759 pixels and made half as high.
        Recorder scaled(LISTING_PANEL_Y, 759.0f / 754.0f, 0.5f);
        LayoutRows(ListTypeTable, LISTING_PANEL_X, LISTING_PANEL_Y, 0, -1, Record, &scaled);
        ASSERT_EQ(scaled.placed.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i]);
            const Placed& e = expected[i];
            const Placed& s = scaled.placed[i];
            if (e.labelX >= 0) {
                EXPECT_EQ(s.labelX, static_cast<int>(e.labelX * (759.0f / 754.0f)));
            }
            if (e.controlX >= 0) {
                EXPECT_EQ(s.controlX, static_cast<int>(e.controlX * (759.0f / 754.0f)));
                EXPECT_EQ(s.controlWidth, static_cast<int>(e.controlWidth * (759.0f / 754.0f)));
                EXPECT_EQ(s.controlY, static_cast<int>(e.controlY * 0.5f));
            }
        }
    }
    BuildListingTables();
}

TEST(RowLayout, RectsScaleAndTruncate) {
    const OptionRow combo{"Then sort by", 110, 230, 2, ROW_SAME_LINE, CONTROL_COMBO_BOX, "a,b", nullptr};
    const OptionRow edit{"Amount:", 45, 45, 40, ROW_NUMERIC, CONTROL_EDIT, "1", nullptr};
    const OptionRow check{"  Case Sensitive:", 120, 20, 4, 0, CONTROL_CHECK_BOX, nullptr, nullptr};
    struct Case {
        const OptionRow* row;
        int x, top;
        float sx, sy;
        PanelRect label, control;
    };
    const Case cases[] = {
        {&combo, 0, 318, 1.0f, 1.0f, {4, 322, 110, 20}, {120, 318, 230, 300}},
        // 120 * 1.0066 = 120.8 and 230 * 1.0066 = 231.5 truncate down.
        {&combo, 0, 318, 759.0f / 754.0f, 1.0f, {4, 322, 110, 20}, {120, 318, 231, 300}},
        {&edit, 60, 434, 1.0f, 1.0f, {64, 438, 45, 20}, {115, 435, 45, 22}},
        {&edit, 60, 434, 1.5f, 0.75f, {96, 328, 45, 20}, {172, 326, 67, 22}},
        {&check, 340, 289, 0.99f, 1.01f, {340, 295, 120, 20}, {465, 291, 19, 22}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row->label << " scale " << c.sx << " x " << c.sy);
        const PanelRect l = LabelRect(*c.row, c.x, c.top, c.sx, c.sy);
        const PanelRect k = ControlRect(*c.row, c.x, c.top, c.sx, c.sy);
        EXPECT_EQ((std::vector<int>{l.x, l.y, l.width, l.height}),
                  (std::vector<int>{c.label.x, c.label.y, c.label.width, c.label.height}));
        EXPECT_EQ((std::vector<int>{k.x, k.y, k.width, k.height}),
                  (std::vector<int>{c.control.x, c.control.y, c.control.width, c.control.height}));
    }
    EXPECT_EQ(PackPosition(760, 405), (760u << 16) | 405u);
    EXPECT_EQ(PositionX(PackPosition(760, 405)), 760);
    EXPECT_EQ(PositionY(PackPosition(760, 405)), 405);
}

OptionRow Edit(const char* label, uint32_t flags = 0) {
    return {label, 50, 40, 1, flags, CONTROL_EDIT, "", nullptr};
}

// The walk's rules on small tables: (left edge, line) of each placed row and
// the last line returned.
TEST(RowLayout, SmallTables) {
    OptionRow none[] = {{}};
    OptionRow child[] = {Edit("child"), {}};
    OptionChoice choices[] = {{"empty", none, 0}, {"rows", child, 0}, {nullptr, nullptr, 0}};
    OptionRow combo = {"combo",           30,           70,     2, ROW_HAS_CHOICES | ROW_SAME_LINE,
                       CONTROL_COMBO_BOX, "empty,rows", choices};
    struct Case {
        const char* name;
        std::vector<OptionRow> rows;
        int active;  // choice made active in `choices`; -1: none
        int maxRows;
        int refuseFrom;                           // -1: room for every row
        std::vector<std::pair<int, int>> places;  // (x, line) per placed row
        int last;
    };
    const std::vector<Case> cases = {
        {"empty table", {}, -1, -1, -1, {}, 4},
        // The last line counts rows, not the lines they end up on.
        {"three on a line, the fourth below",
         {Edit("a", ROW_SAME_LINE), Edit("b", ROW_SAME_LINE), Edit("c"), Edit("d")},
         -1,
         -1,
         -1,
         {{10, 5}, {100, 5}, {190, 5}, {10, 6}},
         8},
        {"a blank label-only row takes a line but no line index",
         {Edit("a"), {"", 0, 0, 0, ROW_LABEL_ONLY, CONTROL_NONE, nullptr, nullptr}, Edit("b")},
         -1,
         -1,
         -1,
         {{10, 5}, {10, 6}, {10, 7}},
         6},
        {"an indent moves the next row right",
         {{"  ", 60, 0, 0, ROW_LABEL_ONLY | ROW_SAME_LINE, CONTROL_NONE, nullptr, nullptr}, Edit("a")},
         -1,
         -1,
         -1,
         {{10, 5}, {70, 5}},
         5},
        {"an empty child table adds no line", {combo, Edit("next")}, 0, -1, -1, {{10, 5}, {110, 5}}, 6},
        {"no active choice: no child rows", {combo, Edit("next")}, -1, -1, -1, {{10, 5}, {110, 5}}, 6},
        {"child rows below, the same-line row beside",
         {combo, Edit("next")},
         1,
         -1,
         -1,
         {{10, 5}, {10, 6}, {110, 5}},
         7},
        {"one row laid out alone, with its child rows",
         {combo, Edit("next")},
         1,
         1,
         -1,
         {{10, 5}, {10, 6}},
         6},
        {"a row without room lays out no child rows", {combo, Edit("next")}, 1, -1, 0, {}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 2; ++i) choices[i].active = i == c.active;
        std::vector<OptionRow> table = c.rows;
        table.push_back({});
        Recorder r(100);
        r.refuseFrom = c.refuseFrom;
        const int last = LayoutRows(table.data(), 10, 100, 5, c.maxRows, Record, &r);
        std::vector<std::pair<int, int>> places;
        for (const RowPlacement& p : r.all) places.push_back({p.x, (p.lineTop - 100) / LINE_PITCH});
        EXPECT_EQ(places, c.places);
        EXPECT_EQ(last, c.last);
    }
}

}  // namespace
