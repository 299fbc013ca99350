#include <gtest/gtest.h>

#include "harness.h"

namespace {

TEST(RunOutcome, WithoutAModeLetterTheWindowIsShownUntilClosed) {
    Sandbox sandbox;
    for (const wchar_t* arguments : {L"", L"w", L"100", L"e"}) {
        TestWindow other(L"Other", 100, 100, 200, 150);
        Process process(sandbox.Exe(), arguments);
        const HWND window = process.WaitForWindow(L"DeskglideMain", 10000);
        ASSERT_NE(window, nullptr) << testing::PrintToString(std::wstring(arguments));
        EXPECT_EQ(WindowText(window), L"Deskglide");
        EXPECT_TRUE(IsWindowVisible(window));
        PostMessageW(window, WM_CLOSE, 0, 0);
        const RunResult result = process.Wait(10000);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(other.Position(), (POINT{100, 100}));
    }
}

TEST(RunOutcome, AnOverflowIsReportedAndNothingMoves) {
    Sandbox sandbox;
    TestWindow other(L"Other", 100, 100, 200, 150);
    Process process(sandbox.Exe(), L"v 3000000000");
    const HWND box = process.WaitForWindow(L"#32770", 10000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), L"Deskglide");
    const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
    EXPECT_NE(text.find(L"The distance would be 3000000000"), std::wstring::npos);
    PostMessageW(box, WM_CLOSE, 0, 0);
    const RunResult result = process.Wait(10000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 2u);
    EXPECT_EQ(other.Position(), (POINT{100, 100}));
}

}  // namespace
