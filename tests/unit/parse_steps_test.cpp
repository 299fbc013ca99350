#include "run/parse_steps.h"

#include <gtest/gtest.h>

#include "common/run_error.h"

namespace {

struct StepsCase {
    const wchar_t* commandText;
    int32_t defaultStep;
    int32_t vertical;
    int32_t horizontal;
};

TEST(ParseSteps, LastNumberIsHorizontalAndTheOneBeforeItVertical) {
    const StepsCase cases[] = {
        {L" ", 50, 50, 50},
        {L" v", 50, 50, 50},
        {L" v 100", 50, 100, 100},
        {L" vh 10 20", 50, 10, 20},
        {L" vh 10 x", 50, 10, 50},
        {L" vh x 20", 50, 20, 20},
        {L" v -30", 50, -30, -30},
        {L" v 12.5", 50, 12, 12},
        {L" v 13.5", 50, 14, 14},
        {L" vh 1 2 3", 50, 2, 3},
        {L" h100", 50, 50, 50},
        {L" 100", 50, 100, 100},
        {L" v 1e2", 50, 100, 100},
        {L" v   10    20", 50, 10, 20},
        {L" v 10 ", 50, 10, 50},
        {L" v 10\t20", 50, 50, 50},
        {L" vs", 25, 25, 25},
        {L" vs 10 50", 25, 10, 50},
        // A single number equal to the default is not copied, but both already hold it.
        {L" v 50", 50, 50, 50},
        {L" v 7 x y", 50, 50, 50},
    };
    for (const auto& c : cases) {
        int32_t vertical = -1;
        int32_t horizontal = -1;
        ParseSteps(c.commandText, vertical, horizontal, c.defaultStep, L".");
        EXPECT_EQ(vertical, c.vertical) << testing::PrintToString(std::wstring(c.commandText));
        EXPECT_EQ(horizontal, c.horizontal) << testing::PrintToString(std::wstring(c.commandText));
    }
}

TEST(ParseSteps, UsesTheLocaleDecimalSeparator) {
    int32_t vertical = 0;
    int32_t horizontal = 0;
    ParseSteps(L" v 12,5 13,5", vertical, horizontal, 50, L",");
    EXPECT_EQ(vertical, 12);
    EXPECT_EQ(horizontal, 14);
    ParseSteps(L" v 12.5", vertical, horizontal, 50, L",");
    EXPECT_EQ(vertical, 50);
    EXPECT_EQ(horizontal, 50);
}

TEST(ParseSteps, NumberOutOfRangeRaisesOverflow) {
    for (const wchar_t* text : {L" v 3000000000", L" v 3000000000 5", L" v 5 -2147483649"}) {
        int32_t vertical = 0;
        int32_t horizontal = 0;
        try {
            ParseSteps(text, vertical, horizontal, 50, L".");
            ADD_FAILURE() << testing::PrintToString(std::wstring(text));
        } catch (const RunError& error) {
            EXPECT_EQ(error.Kind(), RunErrorKind::Overflow);
        }
    }
}

TEST(ScaleStepsToPercent, UsesBottomAndRightCoordinatesAndRoundsHalvesToEven) {
    const struct {
        Rect workArea;
        int32_t vertical, horizontal, expectedVertical, expectedHorizontal;
    } cases[] = {
        {{0, 0, 1024, 748}, 25, 25, 187, 256},
        {{0, 0, 1680, 1050}, 25, 25, 262, 420},    // 262.5 goes to 262
        {{0, 0, 1024, 738}, 25, 10, 184, 102},     // 184.5 to 184, 102.4 to 102
        {{0, 0, 1024, 742}, 25, 15, 186, 154},     // 185.5 to 186, 153.6 to 154
        {{100, 200, 1124, 948}, 10, 10, 95, 112},  // edges, not height and width
        {{0, 0, 1024, 748}, -50, 0, -374, 0},
    };
    for (const auto& c : cases) {
        int32_t vertical = c.vertical;
        int32_t horizontal = c.horizontal;
        ScaleStepsToPercent(c.workArea, vertical, horizontal);
        EXPECT_EQ(vertical, c.expectedVertical);
        EXPECT_EQ(horizontal, c.expectedHorizontal);
    }
}

TEST(ScaleStepsToPercent, ProductOutOfRangeRaisesOverflow) {
    int32_t vertical = 3000000;
    int32_t horizontal = 10;
    try {
        ScaleStepsToPercent({0, 0, 1024, 748}, vertical, horizontal);
        FAIL();
    } catch (const RunError& error) {
        EXPECT_EQ(error.Kind(), RunErrorKind::Overflow);
        EXPECT_NE(error.Message().find(L"vertical percentage"), std::wstring::npos);
    }
}

}  // namespace
