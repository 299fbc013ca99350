#include "common/number_text.h"

#include <gtest/gtest.h>

#include "common/run_error.h"

namespace {

TEST(IsNumericText, AcceptsSignDigitsSeparatorFractionAndExponent) {
    const struct {
        const wchar_t* text;
        const wchar_t* separator;
        bool numeric;
    } cases[] = {
        {L"100", L".", true},   {L"  -30  ", L".", true}, {L"+7", L".", true},
        {L"12.5", L".", true},  {L".5", L".", true},      {L"5.", L".", true},
        {L"1e2", L".", true},   {L"1E-2", L".", true},    {L"2.5e+3", L".", true},
        {L"12,5", L",", true},  {L"12.5", L",", false},   {L"12,5", L".", false},
        {L"", L".", false},     {L"   ", L".", false},    {L"-", L".", false},
        {L".", L".", false},    {L"e5", L".", false},     {L"1e", L".", false},
        {L"1e+", L".", false},  {L"h100", L".", false},   {L"100h", L".", false},
        {L"1 2", L".", false},  {L"\t5", L".", false},    {L"--5", L".", false},
        {L"0x10", L".", false}, {L"1,000", L".", false},  {L"\x0661", L".", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsNumericText(c.text, c.separator), c.numeric)
            << "text [" << testing::PrintToString(std::wstring(c.text)) << "]";
    }
}

TEST(ToInt32, RoundsTheExactDecimalValueHalvesToEven) {
    const std::pair<const wchar_t*, int32_t> cases[] = {
        {L"100", 100},
        {L"-30", -30},
        {L"12.5", 12},
        {L"13.5", 14},
        {L"-12.5", -12},
        {L"0.5", 0},
        {L"0.50000000000000000001", 1},
        {L"2.4999999999999999999", 2},
        {L"1e2", 100},
        {L"1.5e1", 15},
        {L"25e-1", 2},
        {L"35e-1", 4},
        {L"1e-999999999999", 0},
        {L"0e999999999999", 0},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483647.4", 2147483647},
        {L"-2147483648.5", -2147483647 - 1},
        {L"000000000000000000042", 42},
        {L" 7 ", 7},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ToInt32(text, L".", L"The distance"), expected)
            << testing::PrintToString(std::wstring(text));
    }
}

TEST(ToInt32, OutOfRangeRaisesOverflowAndNonNumbersRaiseConversion) {
    const std::pair<const wchar_t*, RunErrorKind> cases[] = {
        {L"2147483648", RunErrorKind::Overflow},
        {L"2147483647.5", RunErrorKind::Overflow},
        {L"-2147483649", RunErrorKind::Overflow},
        {L"1e10", RunErrorKind::Overflow},
        {L"99999999999999999999999", RunErrorKind::Overflow},
        {L"1e999999999999", RunErrorKind::Overflow},
        {L"", RunErrorKind::Conversion},
        {L"abc", RunErrorKind::Conversion},
        {L"12,5", RunErrorKind::Conversion},
    };
    for (const auto& [text, kind] : cases) {
        try {
            ToInt32(text, L".", L"The origin");
            ADD_FAILURE() << "no error for " << testing::PrintToString(std::wstring(text));
        } catch (const RunError& error) {
            EXPECT_EQ(error.Kind(), kind) << testing::PrintToString(std::wstring(text));
            EXPECT_EQ(error.Message().rfind(L"The origin", 0), 0u);
        }
    }
}

}  // namespace
