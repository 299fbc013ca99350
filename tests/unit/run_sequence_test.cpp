#include <gtest/gtest.h>

#include "common/run_error.h"
#include "fake_desktop.h"
#include "run/run_sequence.h"

namespace {

constexpr WindowHandle kSelf = 0x42;

std::vector<std::string> RunCalls(FakeDesktop& desktop) {
    std::vector<std::string> calls;
    for (const auto& call : desktop.Calls) {
        if (call.rfind("SetWindowPos", 0) != 0) {
            calls.push_back(call);
        }
    }
    return calls;
}

TEST(RunSequence, WithAModeMovesWindowsThenClosesTheWindow) {
    FakeDesktop desktop;
    desktop.Arguments = L"v";
    const WindowHandle window = desktop.AddWindow("Editor", {100, 100, 400, 300});
    EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0);
    EXPECT_EQ(RunCalls(desktop), (std::vector<std::string>{"CommandLineArguments", "GetWorkArea",
                                                           "EnumWindows", "CloseMainWindow"}));
    EXPECT_EQ(desktop.WindowAt(window).Bounds, (Rect{100, 150, 400, 350}));
    EXPECT_TRUE(desktop.Errors.empty());
}

TEST(RunSequence, WithoutAModeMovesNothingAndLeavesTheWindowOpen) {
    for (const wchar_t* arguments : {L"", L"w", L"e", L"100", L"s 10", L"-"}) {
        FakeDesktop desktop;
        desktop.Arguments = arguments;
        desktop.AddWindow("Editor", {100, 100, 400, 300});
        EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0);
        EXPECT_TRUE(desktop.Moves.empty());
        EXPECT_FALSE(desktop.Closed);
        EXPECT_TRUE(desktop.CallsStartingWith("EnumWindows").empty());
        EXPECT_TRUE(desktop.CallsStartingWith("RegSetValueExA").empty());
        EXPECT_TRUE(desktop.CallsStartingWith("SetDeskWallpaper").empty());
    }
}

TEST(RunSequence, AnErrorStopsTheRunReportsItAndEndsWithItsStatus) {
    const struct {
        const wchar_t* arguments;
        Rect workArea;
        size_t moves;
    } cases[] = {
        {L"v 3000000000", {0, 0, 1024, 748}, 0},
        {L"v 2147483647", {0, 0, 1024, 748}, 1},
        {L"vs 3000000", {0, 0, 1024, 748}, 0},
        {L"3000000000", {0, 0, 1024, 748}, 0},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.Arguments = c.arguments;
        desktop.WorkArea = c.workArea;
        desktop.AddWindow("Low", {0, 100, 10, 110});
        desktop.AddWindow("First", {0, -100, 10, -90});
        const int status = RunLoadEvent(desktop, kSelf);
        EXPECT_EQ(status, ExitStatusFor(RunErrorKind::Overflow));
        EXPECT_NE(status, 0);
        ASSERT_EQ(desktop.Errors.size(), 1u);
        EXPECT_EQ(desktop.Moves.size(), c.moves);
        // The window is closed so that it is never shown, and nothing follows the report.
        EXPECT_EQ(desktop.Calls.back(), "CloseMainWindow");
        EXPECT_EQ(desktop.Calls[desktop.Calls.size() - 2], "ReportError");
    }
}

TEST(RunSequence, ExitStatusesDifferByErrorKind) {
    const int overflow = ExitStatusFor(RunErrorKind::Overflow);
    const int conversion = ExitStatusFor(RunErrorKind::Conversion);
    const int invalid = ExitStatusFor(RunErrorKind::InvalidArgument);
    EXPECT_NE(overflow, conversion);
    EXPECT_NE(conversion, invalid);
    EXPECT_NE(overflow, invalid);
    for (int status : {overflow, conversion, invalid}) {
        EXPECT_GT(status, 0);
    }
}

}  // namespace
