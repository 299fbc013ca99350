#include <gtest/gtest.h>

#include "common/number_text.h"
#include "common/run_error.h"

namespace {

constexpr int64_t kNotANumber = 1LL << 40;
constexpr int64_t kOverflow = 1LL << 41;

// 39 digits, `c`, 40 digits: too long for a message, which shows the first 40 characters.
std::wstring Long(wchar_t c) { return std::wstring(39, L'7') + c + std::wstring(40, L'7'); }

TEST(Numbers, ReadExactlyRoundHalvesToEvenAndSayWhatIsWrong) {
    const std::wstring g(39, L'7');
    // clang-format off
    const struct { std::wstring text; int64_t value; std::wstring message{}; const wchar_t* separator = L"."; } rows[] = {
        {L" +12 ", 12},        {L"-7", -7},            {L"12.5", 12},         {L"13.5", 14},
        {L"-12.5", -12},       {L"-13.5", -14},        {L"12.50001", 13},     {L"2.4999", 2},
        {L".5", 0},            {L"0.6", 1},            {L"5.", 5},            {L"00012", 12},
        {L"1e2", 100},         {L"1E+2", 100},         {L"25e-1", 2},         {L"35E-1", 4},
        {L"1e9", 1000000000},  {L"5e-99999999999", 0}, {L"0e99999999999", 0}, {L"12345678901e-10", 1},
        {L"2147483647", 2147483647},    {L"2147483646.5", 2147483646},  {L"-2147483648.5", -2147483648LL},
        {L"-2147483649", kOverflow},    {L"4294967296", kOverflow},     {L"99999999999", kOverflow},
        {L"1e10", kOverflow},           {L"1e999999999999", kOverflow},
        {L"2147483647.5", kOverflow, L"The value would be 2147483647.5, which is out of range: numbers "
                                     L"must lie between -2147483648 and 2147483647."},
        {L"12,5", 12, L"", L","},       {L"12.5", kNotANumber, L"", L","},  {L"12,5", kNotANumber},
        {L" ", kNotANumber},   {L"1 2", kNotANumber},  {L"\t1", kNotANumber}, {L"--1", kNotANumber},
        {L".", kNotANumber},   {L"e5", kNotANumber},   {L"1e", kNotANumber},  {L"1e+", kNotANumber},
        {L"1e5x", kNotANumber}, {L"1x", kNotANumber, L"The value \"1x\" is not a number."},
        {L"", kNotANumber, L"The value is empty, not a number."},
        {std::wstring(64, L'x'), kNotANumber, L"\"" + std::wstring(64, L'x') + L"\" is not"},
        {std::wstring(65, L'x'), kNotANumber, L"\"" + std::wstring(40, L'x') + L"...\" (65 characters)"},
        // Never half a surrogate pair.
        {Long(L'\xD800'), kNotANumber, L"\"" + g + L"...\" (80 char"},
        {Long(L'\xDBFF'), kNotANumber, L"\"" + g + L"...\" (80 char"},
        {Long(L'\xDC00'), kNotANumber, L"\"" + g + L"\xDC00...\" (80"},
    };
    // clang-format on
    for (const auto& row : rows) {
        int64_t value = 0;
        std::wstring message;
        try {
            value = ToInt32(row.text, row.separator, L"The value");
        } catch (const RunError& error) {
            value = error.Kind() == RunErrorKind::Overflow ? kOverflow : kNotANumber;
            message = error.Message();
        }
        EXPECT_EQ(value, row.value) << row.text;
        EXPECT_NE(message.find(row.message), std::wstring::npos) << message;
        EXPECT_EQ(IsNumericText(row.text, row.separator), row.value != kNotANumber);
    }
}

}  // namespace
