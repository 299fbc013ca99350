#include <gtest/gtest.h>

#include "harness.h"

namespace {

class WindowPass : public testing::Test {
  protected:
    void SetUp() override {
        const RECT area = WorkArea();
        ASSERT_EQ(area.right, 1024) << "the tests expect the 1024x748 desktop with a taskbar";
        ASSERT_EQ(area.bottom, 748);
    }
    Sandbox sandbox;
};

TEST_F(WindowPass, ShiftsEveryTitledWindowByTheSteps) {
    const struct {
        const wchar_t* arguments;
        POINT expected;
    } cases[] = {
        {L"v 30", {100, 130}},  {L"h- 30", {70, 100}}, {L"vh 10 20", {120, 110}},
        {L"V", {100, 150}},     {L"vs", {100, 287}},  // 25 % of the work area's bottom edge, 748
        {L"hs 10", {202, 100}},                       // 10 % of 1024 is 102.4
        {L"v -30", {100, 130}},                       // - and a negative step cancel out
    };
    for (const auto& c : cases) {
        TestWindow window(L"Deskglide test window", 100, 100, 200, 150);
        const RunResult result = RunDeskglide(sandbox.Exe(), c.arguments);
        EXPECT_FALSE(result.timedOut) << testing::PrintToString(std::wstring(c.arguments));
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(window.Position(), c.expected)
            << testing::PrintToString(std::wstring(c.arguments));
    }
}

TEST_F(WindowPass, GatherBringsWindowsBackIntoTheWorkArea) {
    TestWindow offBottomRight(L"Off the bottom right", 900, 600, 300, 300);
    TestWindow negative(L"At negative coordinates", -50, -40, 300, 200);
    TestWindow inside(L"Inside", 10, 10, 100, 100);
    const RunResult result = RunDeskglide(sandbox.Exe(), L"g");
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(offBottomRight.Position(), (POINT{724, 448}));
    EXPECT_EQ(negative.Position(), (POINT{0, 0}));
    EXPECT_EQ(inside.Position(), (POINT{10, 10}));
}

TEST_F(WindowPass, HiddenAndUntitledWindowsStayPut) {
    TestWindow hidden(L"Hidden", 100, 100, 200, 150, false);
    TestWindow untitled(L"", 110, 110, 200, 150);
    TestWindow titled(L"Titled", 120, 120, 200, 150);
    EXPECT_EQ(RunDeskglide(sandbox.Exe(), L"v 30").exitCode, 0u);
    EXPECT_EQ(hidden.Position(), (POINT{100, 100}));
    EXPECT_EQ(untitled.Position(), (POINT{110, 110}));
    EXPECT_EQ(titled.Position(), (POINT{120, 150}));
}

TEST_F(WindowPass, AHungWindowDoesNotStopTheRun) {
    HungWindow hung(L"Not responding", 300, 300);
    TestWindow answering(L"Answering", 100, 100, 200, 150);
    const RunResult result = RunDeskglide(sandbox.Exe(), L"v 30", 20000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_LT(result.elapsedMs, 5000u);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(answering.Position(), (POINT{100, 130}));
}

}  // namespace
