#include "ui/window_context_win.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/ui/ui_fixture_win.h"
#include "ui/controls_win.h"

namespace {

constexpr UINT MSG_TEST = WM_USER + 300;

struct Place {
    float x, y, width, height;
};

Place RecordPlace(const ControlRecord* r) { return {r->x, r->y, r->width, r->height}; }

// ---- Resizing ----

TEST_F(WindowTest, ResizeScalesEachControlByItsFlags) {
    Open(400, 300);
    struct Row {
        const char* name;
        uint32_t flags;
        Place before;
        Place after;  // after 400 x 300 -> 800 x 600 (ratios 2, 2)
    };
    const Row rows[] = {
        {"flags 0 keeps place", 0, {10, 20, 30, 40}, {10, 20, 30, 40}},
        {"x and y scale", RESIZE_X | RESIZE_Y, {10, 20, 30, 40}, {20, 40, 30, 40}},
        {"all four scale", 15, {10, 20, 30, 40}, {20, 40, 60, 80}},
        // The left edge stays and the right edge (10 + 30) scales: 80 - 10.
        {"width without x anchors the left edge", RESIZE_WIDTH, {10, 20, 30, 40}, {10, 20, 70, 40}},
        // The top edge stays and the bottom edge (20 + 40) scales: 120 - 20.
        {"height without y anchors the top edge", RESIZE_HEIGHT, {10, 20, 30, 40}, {10, 20, 30, 100}},
        {"the main track list's flags",
         RESIZE_Y | RESIZE_WIDTH | RESIZE_HEIGHT,
         {5, 10, 100, 50},
         {5, 20, 205, 100}},
    };
    std::vector<HWND> made;
    for (const Row& row : rows) {
        made.push_back(Make(CONTROL_STATIC_TEXT, static_cast<int>(row.before.x),
                            static_cast<int>(row.before.y), static_cast<int>(row.before.width),
                            static_cast<int>(row.before.height), "", row.flags));
    }
    ResizeTo(800, 600);
    for (size_t i = 0; i < made.size(); i++) {
        SCOPED_TRACE(rows[i].name);
        const ControlRecord* r = FindControl(context_, made[i]);
        ASSERT_NE(r, nullptr);
        EXPECT_FLOAT_EQ(r->x, rows[i].after.x);
        EXPECT_FLOAT_EQ(r->y, rows[i].after.y);
        EXPECT_FLOAT_EQ(r->width, rows[i].after.width);
        EXPECT_FLOAT_EQ(r->height, rows[i].after.height);
        const RECT place = PlaceOf(made[i]);
        EXPECT_EQ(place.left, static_cast<LONG>(rows[i].after.x));
        EXPECT_EQ(place.top, static_cast<LONG>(rows[i].after.y));
        EXPECT_EQ(place.right - place.left, static_cast<LONG>(rows[i].after.width));
        EXPECT_EQ(place.bottom - place.top, static_cast<LONG>(rows[i].after.height));
        // Creation values never change.
        EXPECT_FLOAT_EQ(r->createX, rows[i].before.x);
        EXPECT_FLOAT_EQ(r->createWidth, rows[i].before.width);
    }
    EXPECT_EQ(context_->baseWidth, 800);
    EXPECT_EQ(context_->baseHeight, 600);
}

TEST_F(WindowTest, ScaleFactorsMultiplyOverResizes) {
    Open(400, 300);
    const float startX = context_->scaleX, startY = context_->scaleY;
    ResizeTo(800, 150);  // x2, x0.5
    ResizeTo(200, 300);  // x0.25, x2
    float sx = 0, sy = 0;
    GetScaleFactors(context_, &sx, &sy);
    EXPECT_FLOAT_EQ(sx, startX * 0.5f);
    EXPECT_FLOAT_EQ(sy, startY * 1.0f);
}

TEST_F(WindowTest, ShrinkToZeroAndBackRestoresLayout) {
    Open(770, 650);
    struct Row {
        int x, y, width, height;
        uint32_t flags;
    };
    const Row rows[] = {{3, 260, 100, 20, 15},  {550, 325, 100, 30, 3}, {7, 9, 760, 240, 14},
                        {75, 550, 695, 120, 2}, {33, 44, 55, 66, 4},    {33, 44, 55, 66, 8}};
    std::vector<HWND> made;
    std::vector<Place> before;
    for (const Row& row : rows) {
        made.push_back(Make(CONTROL_STATIC_TEXT, row.x, row.y, row.width, row.height, "", row.flags));
        before.push_back(RecordPlace(FindControl(context_, made.back())));
    }
    ResizeTo(0, 0);  // a minimised window: taken as 1 x 1
    EXPECT_EQ(context_->baseWidth, 1);
    EXPECT_EQ(context_->baseHeight, 1);
    ResizeTo(770, 650);
    for (size_t i = 0; i < made.size(); i++) {
        SCOPED_TRACE(testing::Message() << "row " << i);
        const Place after = RecordPlace(FindControl(context_, made[i]));
        const float tolerance = 0.01f;
        EXPECT_NEAR(after.x, before[i].x, tolerance);
        EXPECT_NEAR(after.y, before[i].y, tolerance);
        EXPECT_NEAR(after.width, before[i].width, tolerance);
        EXPECT_NEAR(after.height, before[i].height, tolerance);
    }
}

TEST_F(WindowTest, ExactZeroBecomesOneOnEveryResize) {
    Open(400, 300);
    HWND atOrigin = Make(CONTROL_STATIC_TEXT, 0, 0, 50, 20, "", 0);
    HWND scaled = Make(CONTROL_STATIC_TEXT, 0, 0, 50, 20, "", 15);
    HWND elsewhere = Make(CONTROL_STATIC_TEXT, 30, 40, 50, 20, "", 0);
    ResizeTo(400, 300);  // same size: ratios 1
    struct Row {
        const char* name;
        HWND control;
        Place expected;
    };
    const Row rows[] = {{"unscaled at origin", atOrigin, {1, 1, 50, 20}},
                        {"scaled at origin", scaled, {1, 1, 50, 20}},
                        {"same size keeps place", elsewhere, {30, 40, 50, 20}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Place p = RecordPlace(FindControl(context_, row.control));
        EXPECT_FLOAT_EQ(p.x, row.expected.x);
        EXPECT_FLOAT_EQ(p.y, row.expected.y);
        EXPECT_FLOAT_EQ(p.width, row.expected.width);
        EXPECT_FLOAT_EQ(p.height, row.expected.height);
        const RECT place = PlaceOf(row.control);
        EXPECT_EQ(place.left, static_cast<LONG>(row.expected.x));
        EXPECT_EQ(place.top, static_cast<LONG>(row.expected.y));
    }
}

TEST_F(WindowTest, NegativeResultsStayAndZeroSizeOfAnchoredControlBecomesOne) {
    Open(400, 300);
    // Right edge at 100 scales to 25, left edge stays at 50: width -25, kept.
    HWND negative = Make(CONTROL_STATIC_TEXT, 50, 10, 50, 20, "", RESIZE_WIDTH);
    // Right edge at 80 scales to 20 with the left edge at 20: width exactly 0 -> 1.
    HWND zero = Make(CONTROL_STATIC_TEXT, 20, 10, 60, 20, "", RESIZE_WIDTH);
    ResizeTo(100, 300);
    EXPECT_FLOAT_EQ(FindControl(context_, negative)->width, -25.0f);
    EXPECT_FLOAT_EQ(FindControl(context_, zero)->width, 1.0f);
}

TEST_F(WindowTest, OpeningRecordsClientSizeAgainstOuterSize) {
    ASSERT_EQ(OpenMainWindow(context_, 770, 650, "Tavolin test"), 1);
    RECT client;
    GetClientRect(MainWindowOf(context_), &client);
    EXPECT_EQ(context_->baseWidth, client.right);
    EXPECT_EQ(context_->baseHeight, client.bottom);
    EXPECT_FLOAT_EQ(context_->scaleX, static_cast<float>(client.right / 770.0));
    EXPECT_FLOAT_EQ(context_->scaleY, static_cast<float>(client.bottom / 650.0));
    char title[64] = "";
    GetWindowTextA(MainWindowOf(context_), title, sizeof title);
    EXPECT_STREQ(title, "Tavolin test");
    EXPECT_TRUE(IsWindowVisible(MainWindowOf(context_)));
}

TEST_F(WindowTest, ResizeRunsListScrollUpkeep) {
    Open(400, 300);
    HWND list = Make(CONTROL_LIST_BOX, 0, 0, 200, 200, "", RESIZE_HEIGHT);
    for (int i = 0; i < 5; i++) AddItem(context_, list, "line", i, 1);
    ASSERT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    ResizeTo(400, 30);  // the list shrinks to 20 pixels: five lines no longer fit
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    ResizeTo(400, 300);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
}

// ---- Command routing ----

struct RouteRow {
    const char* name;
    ControlKind kind;
    UINT code;
    bool called;
    intptr_t param;
};

TEST_F(WindowTest, NotificationCodesRouteByKind) {
    Open();
    const RouteRow rows[] = {
        {"list click code is not passed on", CONTROL_LIST_BOX, 0, false, 0},
        {"list selection change", CONTROL_LIST_BOX, 1, true, 0},
        {"list double click", CONTROL_LIST_BOX, 2, true, 2},
        {"list kill focus is not passed on", CONTROL_LIST_BOX, 5, false, 0},
        {"list unknown code", CONTROL_LIST_BOX, 4, false, 0},
        {"button click", CONTROL_PUSH_BUTTON, 0, true, 0},
        {"button code 1 is not passed on", CONTROL_PUSH_BUTTON, 1, false, 0},
        {"button code 2 is not passed on", CONTROL_PUSH_BUTTON, 2, false, 0},
        {"button double click", CONTROL_PUSH_BUTTON, 5, true, 2},
        {"button code 0x300 is not passed on", CONTROL_PUSH_BUTTON, 0x300, false, 0},
        {"button set focus code", CONTROL_PUSH_BUTTON, 6, false, 0},
        {"edit change", CONTROL_EDIT, 0x300, true, 0},
        {"edit kill focus code", CONTROL_EDIT, 0x200, false, 0},
        {"check box click", CONTROL_CHECK_BOX, 0, true, 0},
        {"combo selection change", CONTROL_COMBO_BOX, 1, true, 0},
        {"combo double click", CONTROL_COMBO_BOX, 2, true, 2},
        {"combo edit change", CONTROL_COMBO_BOX, 5, true, 2},
        {"combo drop down code", CONTROL_COMBO_BOX, 7, false, 0},
        {"static code 0", CONTROL_STATIC_TEXT, 0, true, 0},
    };
    for (const RouteRow& row : rows) {
        SCOPED_TRACE(row.name);
        HWND control = Make(row.kind, 10, 10, 100, 100, "", 0, RecordControlCall, &gCallbackTag);
        RecordedCalls().clear();
        const LRESULT result = SendMessageA(MainWindowOf(context_), WM_COMMAND, MAKEWPARAM(0, row.code),
                                            reinterpret_cast<LPARAM>(control));
        EXPECT_EQ(result, 0);
        ASSERT_EQ(RecordedCalls().size(), row.called ? 1u : 0u);
        if (row.called) {
            const CallbackCall& c = RecordedCalls()[0];
            EXPECT_EQ(c.context, context_);
            EXPECT_EQ(c.window, control);
            EXPECT_EQ(c.param, row.param);
            EXPECT_EQ(c.data, &gCallbackTag);
        }
        DestroyControl(context_, control);
    }
}

TEST_F(WindowTest, CustomControlCommandReachesEveryKindWithItsParam) {
    Open();
    for (int kind = CONTROL_LIST_BOX; kind <= CONTROL_COMBO_BOX; kind++) {
        SCOPED_TRACE(testing::Message() << "kind " << kind);
        HWND control = Make(ControlKind(kind), 10, 10, 100, 100, "", 0, RecordControlCall);
        RecordedCalls().clear();
        SendMessageA(MainWindowOf(context_), MSG_CONTROL_COMMAND, reinterpret_cast<WPARAM>(control), 77);
        ASSERT_EQ(RecordedCalls().size(), 1u);
        EXPECT_EQ(RecordedCalls()[0].param, 77);
        EXPECT_EQ(RecordedCalls()[0].window, control);
        DestroyControl(context_, control);
    }
}

TEST_F(WindowTest, NotificationsWithoutMatchingRecordAreIgnored) {
    Open();
    HWND silent = Make(CONTROL_PUSH_BUTTON, 10, 10, 100, 30, "No callback", 0, nullptr);
    HWND stranger = CreateWindowExA(0, "BUTTON", "stranger", WS_CHILD, 0, 0, 10, 10, MainWindowOf(context_),
                                    nullptr, nullptr, nullptr);
    Make(CONTROL_PUSH_BUTTON, 10, 50, 100, 30, "Other", 0, RecordControlCall);
    RecordedCalls().clear();
    for (HWND control : {silent, stranger, static_cast<HWND>(nullptr)}) {
        EXPECT_EQ(SendMessageA(MainWindowOf(context_), WM_COMMAND, MAKEWPARAM(0, 0),
                               reinterpret_cast<LPARAM>(control)),
                  0);
    }
    EXPECT_TRUE(RecordedCalls().empty());
    DestroyWindow(stranger);
}

TEST_F(WindowTest, RealButtonClickReachesCallback) {
    Open();
    HWND button = Make(CONTROL_PUSH_BUTTON, 10, 10, 100, 30, "Go", 0, RecordControlCall, &gCallbackTag);
    RecordedCalls().clear();
    window_driver::ClickButton(button);
    ASSERT_EQ(RecordedCalls().size(), 1u);
    EXPECT_EQ(RecordedCalls()[0].window, button);
    EXPECT_EQ(RecordedCalls()[0].param, 0);
}

TEST_F(WindowTest, ListSelectionChangeReachesCallbackThenReducesToFocusedLine) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 10, 10, 200, 150, "", 0, RecordControlCall);
    for (int i = 0; i < 5; i++) AddItem(context_, list, "line", i, 1);
    SetMultiSelect(context_, list, 0);
    struct Row {
        const char* name;
        bool single;
        int expectedSelected;
    };
    const Row rows[] = {{"single selection enforced", true, 1}, {"multiple allowed", false, 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetMultiSelect(context_, list, row.single ? 0 : 1);
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        for (int i : {1, 2, 3}) SendMessageA(list, LB_SETSEL, TRUE, i);
        SendMessageA(list, LB_SETCARETINDEX, 2, FALSE);
        RecordedCalls().clear();
        SendMessageA(MainWindowOf(context_), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        EXPECT_EQ(RecordedCalls().size(), 1u);
        // The reduction is posted: the selection holds until the queue runs.
        PumpMessages();
        EXPECT_EQ(SendMessageA(list, LB_GETSELCOUNT, 0, 0), row.expectedSelected);
        EXPECT_GT(SendMessageA(list, LB_GETSEL, 2, 0), 0);
    }
}

TEST_F(WindowTest, RealClickOnListLineReachesCallback) {
    Open();
    HWND list = Make(CONTROL_LIST_BOX, 10, 10, 200, 150, "", 0, RecordControlCall);
    for (int i = 0; i < 3; i++) AddItem(context_, list, "line", i, 1);
    RECT item = {};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    RecordedCalls().clear();
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(window_driver::WaitFor([] { return !RecordedCalls().empty(); }, 2000));
    EXPECT_EQ(RecordedCalls()[0].window, list);
    EXPECT_EQ(GetSelectedItemData(context_, list), 1);
}

// ---- Handler table ----

TEST_F(WindowTest, LaterHandlerForSameMessageWins) {
    Open();
    ASSERT_EQ(AddMessageHandler(context_, MSG_TEST, RecordMessageCall, 1), 1);
    ASSERT_EQ(AddMessageHandler(context_, MSG_TEST + 1, RecordMessageCall, 9), 1);
    ASSERT_EQ(AddMessageHandler(context_, MSG_TEST, RecordMessageCall, 2), 1);
    RecordedCalls().clear();
    EXPECT_EQ(SendMessageA(MainWindowOf(context_), MSG_TEST, 3, 4), 0);
    ASSERT_EQ(RecordedCalls().size(), 1u);
    EXPECT_EQ(RecordedCalls()[0].user, 2);
    EXPECT_EQ(RecordedCalls()[0].message, MSG_TEST);
    EXPECT_EQ(RecordedCalls()[0].param, 4);
    EXPECT_EQ(RecordedCalls()[0].window, MainWindowOf(context_));
}

TEST_F(WindowTest, HandlersForLayerMessagesAreNeverCalled) {
    Open();
    HWND button = Make(CONTROL_PUSH_BUTTON, 10, 10, 100, 30, "b", 0, nullptr);
    for (UINT message : {static_cast<UINT>(WM_SIZE), static_cast<UINT>(WM_COMMAND), MSG_CONTROL_COMMAND}) {
        AddMessageHandler(context_, message, RecordMessageCall, 0);
    }
    RecordedCalls().clear();
    ResizeTo(500, 400);
    SendMessageA(MainWindowOf(context_), WM_COMMAND, 0, reinterpret_cast<LPARAM>(button));
    SendMessageA(MainWindowOf(context_), MSG_CONTROL_COMMAND, reinterpret_cast<WPARAM>(button), 0);
    EXPECT_TRUE(RecordedCalls().empty());
}

TEST_F(WindowTest, HandlerWithoutCallbackFallsThroughToDefault) {
    Open();
    AddMessageHandler(context_, WM_GETTEXTLENGTH, RecordMessageCall, 0);
    AddMessageHandler(context_, WM_GETTEXTLENGTH, nullptr, 0);
    RecordedCalls().clear();
    // DefWindowProcA answers with the caption's length.
    EXPECT_EQ(SendMessageA(MainWindowOf(context_), WM_GETTEXTLENGTH, 0, 0),
              static_cast<LRESULT>(strlen("Tavolin test")));
    EXPECT_TRUE(RecordedCalls().empty());
}

// Messages that come before WM_CREATE have no context yet: they fall through
// to DefWindowProcA, so a handler registered for WM_NCCREATE cannot make the
// creation fail.
TEST_F(WindowTest, MessagesBeforeCreationFallThrough) {
    AddMessageHandler(context_, WM_NCCREATE, RecordMessageCall, 0);
    AddMessageHandler(context_, WM_GETMINMAXINFO, RecordMessageCall, 0);
    RecordedCalls().clear();
    ASSERT_EQ(OpenMainWindow(context_, 300, 200, "early"), 1);
    for (const CallbackCall& c : RecordedCalls()) EXPECT_NE(c.message, static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(reinterpret_cast<WindowContext*>(GetWindowLongPtrA(MainWindowOf(context_), GWLP_USERDATA)),
              context_);
}

TEST_F(WindowTest, TablesRefuseEntriesPastCapacity) {
    Open();
    for (uint32_t i = 0; i < MAX_HANDLERS; i++) {
        ASSERT_EQ(AddMessageHandler(context_, MSG_TEST + 1, RecordMessageCall, 0), 1);
    }
    EXPECT_EQ(AddMessageHandler(context_, MSG_TEST, RecordMessageCall, 0), 0);
    EXPECT_EQ(context_->handlerCount, MAX_HANDLERS);
    RecordedCalls().clear();
    SendMessageA(MainWindowOf(context_), MSG_TEST, 0, 0);
    EXPECT_TRUE(RecordedCalls().empty());

    for (uint32_t i = 0; i < MAX_CONTROLS; i++) {
        ASSERT_NE(Make(CONTROL_STATIC_TEXT, 0, 0, 5, 5, ""), nullptr) << i;
    }
    const size_t childrenBefore = window_driver::ListChildren(MainWindowOf(context_)).size();
    EXPECT_EQ(Make(CONTROL_STATIC_TEXT, 0, 0, 5, 5, "one too many"), nullptr);
    EXPECT_EQ(context_->controlCount, MAX_CONTROLS);
    EXPECT_EQ(window_driver::ListChildren(MainWindowOf(context_)).size(), childrenBefore);
    // Freeing a slot makes room again.
    DestroyControl(context_, context_->controls[0].window);
    EXPECT_NE(Make(CONTROL_STATIC_TEXT, 0, 0, 5, 5, ""), nullptr);
}

// ---- Lifecycle ----

TEST_F(WindowTest, MessageLoopEndsWhenWindowCloses) {
    Open();
    PostMessageA(MainWindowOf(context_), WM_CLOSE, 0, 0);
    RunMessageLoop(context_);  // returns on the quit message that WM_DESTROY posts
    EXPECT_FALSE(IsWindow(MainWindowOf(context_)));
}

TEST(WindowContextLifecycle, ContextFreedBeforeItsWindowIsNoLongerReached) {
    WindowContext* context = CreateWindowContext(GetModuleHandleA(nullptr), "TAVOLINLIFECYCLE", 0);
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(OpenMainWindow(context, 300, 200, "lifecycle"), 1);
    HWND window = MainWindowOf(context);
    AddMessageHandler(context, MSG_TEST, RecordMessageCall, 0);
    DestroyWindowContext(context);
    RecordedCalls().clear();
    SendMessageA(window, MSG_TEST, 0, 0);
    SendMessageA(window, WM_SIZE, 0, MAKELPARAM(100, 100));
    EXPECT_TRUE(RecordedCalls().empty());
    DestroyWindow(window);
    PumpMessages();
}

TEST(WindowContextLifecycle, OpenFailsWithoutRegisteredClass) {
    WindowContext* context = CreateWindowContext(GetModuleHandleA(nullptr), "TAVOLINTWICE", 0);
    ASSERT_NE(context, nullptr);
    UnregisterClassA("TAVOLINTWICE", GetModuleHandleA(nullptr));
    EXPECT_EQ(OpenMainWindow(context, 300, 200, "none"), 0);
    EXPECT_EQ(MainWindowOf(context), nullptr);
    DestroyWindowContext(context);
}

}  // namespace
