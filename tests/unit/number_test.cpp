#include <gtest/gtest.h>

#include "common/checked_math.h"
#include "common/number_text.h"
#include "common/run_error.h"
#include "run/parse_steps.h"

namespace {

constexpr int64_t kNotANumber = 1LL << 40;
constexpr int64_t kOverflow = 1LL << 41;

// The value `read` gives, or the kind of error it raises.
template <typename Read>
int64_t Outcome(Read read) {
    try {
        return read();
    } catch (const RunError& error) {
        return error.Kind() == RunErrorKind::Overflow ? kOverflow : kNotANumber;
    }
}

TEST(Numbers, ReadExactlyAndRoundHalvesToEven) {
    // clang-format off
    const struct { const wchar_t* text; int64_t value; const wchar_t* separator = L"."; } rows[] = {
        {L" +12 ", 12},        {L"-7", -7},            {L"12.5", 12},         {L"13.5", 14},
        {L"-12.5", -12},       {L"-13.5", -14},        {L"12.50001", 13},     {L"2.4999", 2},
        {L".5", 0},            {L"0.6", 1},            {L"5.", 5},            {L"00012", 12},
        {L"1e2", 100},         {L"1E+2", 100},         {L"25e-1", 2},         {L"35E-1", 4},
        {L"1e9", 1000000000},  {L"5e-99999999999", 0}, {L"0e99999999999", 0}, {L"12345678901e-10", 1},
        {L"2147483647", 2147483647},    {L"2147483646.5", 2147483646},  {L"-2147483648.5", -2147483648LL},
        {L"2147483647.5", kOverflow},   {L"-2147483649", kOverflow},    {L"4294967296", kOverflow},
        {L"99999999999", kOverflow},    {L"1e10", kOverflow},           {L"1e999999999999", kOverflow},
        {L"12,5", 12, L","},   {L"12.5", kNotANumber, L","},  {L"12,5", kNotANumber}, {L"", kNotANumber},
        {L" ", kNotANumber},   {L"1 2", kNotANumber},  {L"\t1", kNotANumber}, {L"--1", kNotANumber},
        {L".", kNotANumber},   {L"e5", kNotANumber},   {L"1e", kNotANumber},  {L"1e+", kNotANumber},
        {L"1e5x", kNotANumber}, {L"1x", kNotANumber},
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(Outcome([&] { return ToInt32(row.text, row.separator, L"The value"); }),
                  row.value)
            << row.text;
        EXPECT_EQ(IsNumericText(row.text, row.separator), row.value != kNotANumber);
    }
}

TEST(Numbers, StepsComeOffTheEndOfTheLine) {
    // The command text, with its leading space; the steps; the work area for percentages.
    // clang-format off
    const struct { const wchar_t* text; int64_t vertical, horizontal; Rect percentOf{}; } rows[] = {
        {L" ", 50, 50},        {L" v 100", 100, 100},  {L" vh 10 20", 10, 20},   {L" vh 10 x", 10, 50},
        {L" vh x 20", 20, 20}, {L" vh 1 2 3", 2, 3},   {L" h100", 50, 50},       {L" v  5", 5, 5},
        {L" v\t5", 50, 50},    {L" v 1e2", 100, 100},  {L" v 7 50", 7, 50},      {L" v -30", -30, -30},
        {L" v 3000000000", kOverflow, kOverflow},      {L" vs", 184, 256, {0, 0, 1024, 738}},
        {L" vs", 262, 256, {0, 10, 1024, 1050}},       {L" vhs -10 30", -74, 307, {0, 0, 1024, 738}},
        {L" vs 3000000", kOverflow, kOverflow, {0, 0, 1024, 738}},
    };
    // clang-format on
    for (const auto& row : rows) {
        int32_t vertical = 0;
        int32_t horizontal = 0;
        const bool percent = row.percentOf.bottom != 0;
        const bool overflow =
            kOverflow == Outcome([&] {
                ParseSteps(row.text, vertical, horizontal, percent ? 25 : 50, L".");
                if (percent) {
                    ScaleStepsToPercent(row.percentOf, vertical, horizontal);
                }
                return 0;
            });
        EXPECT_EQ(overflow ? kOverflow : vertical, row.vertical) << row.text;
        EXPECT_EQ(overflow ? kOverflow : horizontal, row.horizontal) << row.text;
    }
}

std::wstring MessageOf(void (*raise)(const std::wstring&), const std::wstring& text) {
    try {
        raise(text);
    } catch (const RunError& error) {
        return error.Message();
    }
    return L"(nothing raised)";
}

TEST(Numbers, LongValuesAreCutInMessagesNeverInsideACharacter) {
    const std::wstring f(40, L'7');
    const std::wstring g = f.substr(1);
    // clang-format off
    const struct { std::wstring text, shown; } rows[] = {
        {L"", L"The value is empty, not a number."},
        {L"x", L"The value \"x\" is not a number."},
        {std::wstring(64, L'x'), L"The value \"" + std::wstring(64, L'x') + L"\" is not"},
        {f + L"7x" + std::wstring(23, L'7'), L"\"" + f + L"...\" (65 characters) is not"},
        {g + L"\xD800" + f, L"\"" + g + L"...\" (80 char"},
        {g + L"\xDBFF" + f, L"\"" + g + L"...\" (80 char"},
        {g + L"\xDC00" + f, L"\"" + g + L"\xDC00...\" (80"},
    };
    // clang-format on
    const auto conversion = [](const std::wstring& text) { RaiseConversion(L"The value", text); };
    for (const auto& row : rows) {
        EXPECT_NE(MessageOf(conversion, row.text).find(row.shown), std::wstring::npos) << row.shown;
    }
    EXPECT_EQ(MessageOf([](const std::wstring&) { Add32(2147483647, 1, L"The sum"); }, L""),
              L"The sum would be 2147483648, which is out of range: numbers must lie between "
              L"-2147483648 and 2147483647.");
}

}  // namespace
