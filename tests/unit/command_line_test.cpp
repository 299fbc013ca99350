#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "run/command_text.h"
#include "run/run_sequence.h"

namespace {

TEST(CommandText, IsASpaceThenTheTrimmedLoweredArguments) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"", L" "},
        {L"   ", L" "},
        {L"V 100", L" v 100"},
        {L"  VH-W 10 20  ", L" vh-w 10 20"},
        {L"\tV\t", L" \tv\t"},
        {L"\"C:\\A B\" G", L" \"c:\\a b\" g"},
        {L"\x00C4X", L" \x00E4x"},
    };
    for (const auto& [arguments, expected] : cases) {
        FakeDesktop desktop;
        desktop.Arguments = arguments;
        EXPECT_EQ(BuildCommandText(desktop), expected);
    }
}

struct LetterCase {
    const wchar_t* arguments;
    int32_t mode;
    bool vertical, horizontal, gather;
    int16_t direction;
};

TEST(OptionLetters, ModeLettersAccumulateAndTheLastTestedWins) {
    const LetterCase cases[] = {
        {L"", ScrollMode::None, false, false, false, 1},
        {L"100", ScrollMode::None, false, false, false, 1},
        {L"w", ScrollMode::None, false, false, false, 1},
        {L"g", ScrollMode::Gather, false, false, true, 1},
        {L"V", ScrollMode::Vertical, true, false, false, 1},
        {L"h", ScrollMode::Horizontal, false, true, false, 1},
        {L"vh", ScrollMode::Horizontal, true, true, false, 1},
        {L"hv", ScrollMode::Horizontal, true, true, false, 1},
        {L"g v", ScrollMode::Vertical, true, false, true, 1},
        {L"hg", ScrollMode::Horizontal, false, true, true, 1},
        {L"gvh-", ScrollMode::Horizontal, true, true, true, -1},
        {L"v -30", ScrollMode::Vertical, true, false, false, -1},
        {L"help", ScrollMode::Horizontal, false, true, false, 1},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.Arguments = c.arguments;
        RunLoadEvent(desktop, 1);
        const auto name = testing::PrintToString(std::wstring(c.arguments));
        EXPECT_EQ(Settings.Mode, c.mode) << name;
        EXPECT_EQ(Settings.MoveVertical, c.vertical) << name;
        EXPECT_EQ(Settings.MoveHorizontal, c.horizontal) << name;
        EXPECT_EQ(Settings.GatherWindows, c.gather) << name;
        EXPECT_EQ(Settings.Direction, c.direction) << name;
    }
}

TEST(OptionLetters, PercentLetterScalesStepsAgainstTheWorkArea) {
    const struct {
        const wchar_t* arguments;
        Rect workArea;
        int32_t vertical, horizontal;
    } cases[] = {
        {L"v 100", {0, 0, 1024, 748}, 100, 100},
        {L"vs", {0, 0, 1680, 1050}, 262, 420},
        {L"vs 10 50", {0, 0, 1024, 748}, 75, 512},
        {L"VS 50", {0, 0, 1024, 748}, 374, 512},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.Arguments = c.arguments;
        desktop.WorkArea = c.workArea;
        RunLoadEvent(desktop, 1);
        EXPECT_EQ(Settings.VerticalStep, c.vertical);
        EXPECT_EQ(Settings.HorizontalStep, c.horizontal);
        EXPECT_EQ(Settings.WorkArea, c.workArea);
    }
}

}  // namespace
