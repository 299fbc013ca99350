#include <gtest/gtest.h>

#include "common/run_error.h"
#include "fake_desktop.h"
#include "windows/mod_enum.h"

namespace {

constexpr WindowHandle kSelf = 0x42;

RunSettings Shift(bool vertical, bool horizontal, int32_t verticalStep, int32_t horizontalStep,
                  int16_t direction = 1) {
    RunSettings settings;
    settings.MoveVertical = vertical;
    settings.MoveHorizontal = horizontal;
    settings.Mode = horizontal ? ScrollMode::Horizontal : ScrollMode::Vertical;
    settings.VerticalStep = verticalStep;
    settings.HorizontalStep = horizontalStep;
    settings.Direction = direction;
    settings.WorkArea = {0, 0, 1024, 738};
    return settings;
}

RunSettings GatherSettings() {
    RunSettings settings = Shift(false, false, 50, 50);
    settings.GatherWindows = true;
    settings.Mode = ScrollMode::Gather;
    return settings;
}

struct MoveCase {
    const char* name;
    RunSettings settings;
    Rect before;
    int32_t x, y;
};

TEST(WindowPass, MovesEachWindowByTheStepsOrGathersIt) {
    RunSettings gatherAndShift = GatherSettings();
    gatherAndShift.MoveVertical = true;
    gatherAndShift.VerticalStep = 40;
    const MoveCase cases[] = {
        {"v 30", Shift(true, false, 30, 30), {100, 100, 400, 300}, 100, 130},
        {"h- 30", Shift(false, true, 30, 30, -1), {100, 100, 400, 300}, 70, 100},
        {"vh 10 20", Shift(true, true, 10, 20), {100, 100, 400, 300}, 120, 110},
        {"v -30 with -", Shift(true, false, -30, -30, -1), {100, 100, 400, 300}, 100, 130},
        {"g from the left", GatherSettings(), {-50, 20, 350, 320}, 0, 20},
        {"g off bottom-right", GatherSettings(), {900, 600, 1200, 900}, 724, 438},
        {"g taller than the work area", GatherSettings(), {10, 10, 300, 1000}, 10, -252},
        {"g at negative top and left", GatherSettings(), {-10, -20, 100, 100}, 0, 0},
        {"g wider and left of 0", GatherSettings(), {-100, 5, 1200, 50}, 0, 5},
        {"g already inside", GatherSettings(), {10, 10, 100, 100}, 10, 10},
        {"gv 40 gathers, ignores the step", gatherAndShift, {10, 10, 100, 100}, 10, 10},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.WorkArea = c.settings.WorkArea;
        const WindowHandle window = desktop.AddWindow("Editor", c.before);
        MoveAllWindows(desktop, c.settings, kSelf);
        ASSERT_EQ(desktop.Moves.size(), 1u) << c.name;
        const auto& move = desktop.Moves[0];
        EXPECT_EQ(move.Window, window) << c.name;
        EXPECT_EQ(move.X, c.x) << c.name;
        EXPECT_EQ(move.Y, c.y) << c.name;
        EXPECT_EQ(move.InsertAfter, kInsertAtBottom) << c.name;
        EXPECT_EQ(move.Cx, 0) << c.name;
        EXPECT_EQ(move.Cy, 0) << c.name;
        EXPECT_EQ(move.Flags, kKeepSize) << c.name;
    }
}

TEST(WindowPass, LeavesHiddenUntitledAndOwnWindowsAlone) {
    FakeDesktop desktop;
    desktop.AddWindow("", {0, 0, 10, 10});
    desktop.AddWindow("Hidden", {0, 0, 10, 10}, false);
    desktop.Windows.insert(desktop.Windows.begin(),
                           {kSelf, true, "Deskglide", {0, 0, 10, 10}, {}, {}});
    const WindowHandle titled = desktop.AddWindow("Titled", {0, 0, 10, 10});
    MoveAllWindows(desktop, Shift(true, false, 5, 5), kSelf);
    ASSERT_EQ(desktop.Moves.size(), 1u);
    EXPECT_EQ(desktop.Moves[0].Window, titled);
}

TEST(WindowPass, VisitsEveryWindowOnceAndPutsEachAtTheBottomInTurn) {
    FakeDesktop desktop;
    const WindowHandle c = desktop.AddWindow("C", {0, 0, 10, 10});
    const WindowHandle hidden = desktop.AddWindow("Hidden", {0, 0, 10, 10}, false);
    const WindowHandle b = desktop.AddWindow("B", {0, 0, 10, 10});
    const WindowHandle a = desktop.AddWindow("A", {0, 0, 10, 10});
    MoveAllWindows(desktop, Shift(true, false, 1, 1), kSelf);
    EXPECT_EQ(desktop.CallsStartingWith("SetWindowPos"),
              (std::vector<std::string>{"SetWindowPos " + std::to_string(a),
                                        "SetWindowPos " + std::to_string(b),
                                        "SetWindowPos " + std::to_string(c)}));
    // Sent to the bottom one after another, the first moved ends up above the later ones.
    EXPECT_EQ(desktop.StackingOrder(), (std::vector<WindowHandle>{hidden, a, b, c}));
}

TEST(WindowPass, ReadsAtMost255TitleBytes) {
    FakeDesktop desktop;
    desktop.AddWindow(std::string(300, 'x'), {0, 0, 10, 10});
    desktop.WindowAt(desktop.Windows[0].Handle).Bounds = {2147483600, 0, 2147483647, 10};
    try {
        MoveAllWindows(desktop, Shift(false, true, 100, 100), kSelf);
        FAIL();
    } catch (const RunError& error) {
        EXPECT_NE(error.Message().find(L"\"" + std::wstring(255, L'x') + L"\""),
                  std::wstring::npos);
        EXPECT_EQ(error.Message().find(std::wstring(256, L'x')), std::wstring::npos);
    }
}

TEST(WindowPass, OverflowStopsThePassAtThatWindow) {
    const struct {
        const char* name;
        RunSettings settings;
        Rect bounds;
        const wchar_t* failing;
        size_t moves;
    } cases[] = {
        {"step past the bottom",
         Shift(true, false, 100, 100),
         {0, 2147483600, 10, 2147483647},
         L"\"Bad\"",
         1},
        {"direction times the smallest step",
         Shift(true, false, -2147483647 - 1, 0, -1),
         {0, 0, 10, 10},
         L"\"Earlier\"",
         0},
        {"gather height", GatherSettings(), {0, -2147483647 - 1, 10, 2147483647}, L"\"Bad\"", 1},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.AddWindow("Later", {0, 0, 10, 10});
        desktop.AddWindow("Bad", c.bounds);
        desktop.AddWindow("Earlier", {0, 0, 10, 10});
        try {
            MoveAllWindows(desktop, c.settings, kSelf);
            ADD_FAILURE() << c.name;
        } catch (const RunError& error) {
            EXPECT_EQ(error.Kind(), RunErrorKind::Overflow) << c.name;
            EXPECT_NE(error.Message().find(c.failing), std::wstring::npos) << c.name;
        }
        EXPECT_EQ(desktop.Moves.size(), c.moves) << c.name;
    }
}

}  // namespace
