#include "run/parse_steps.h"

#include <utility>

#include "common/checked_math.h"
#include "common/number_text.h"
#include "common/trim_spaces.h"

namespace {

std::wstring LastToken(const std::wstring& text, size_t lastSpace) {
    return TrimSpaces(std::wstring_view(text).substr(lastSpace));
}

// The two tokens the steps are read from, the vertical one first: the last two of the command
// text; one that is not there is empty.
std::pair<std::wstring, std::wstring> StepTokens(const std::wstring& text) {
    const size_t lastSpace = text.rfind(L' ');
    if (lastSpace == std::wstring::npos) {
        return {};
    }
    const std::wstring rest = L" " + TrimSpaces(std::wstring_view(text).substr(0, lastSpace));
    return {LastToken(rest, rest.rfind(L' ')), LastToken(text, lastSpace)};
}

// The number a token is read as: the token itself, or the number before a per cent sign that
// directly follows it.
std::wstring_view StepNumber(std::wstring_view token) {
    return token.substr(0, token.size() - (token.ends_with(L'%') ? 1 : 0));
}

bool IsPercentage(std::wstring_view token, const std::wstring& decimalSeparator) {
    return token.ends_with(L'%') && IsNumericText(StepNumber(token), decimalSeparator);
}

int32_t ReadStep(std::wstring_view token, int32_t otherwise, const std::wstring& decimalSeparator) {
    const std::wstring_view number = StepNumber(token);
    return IsNumericText(number, decimalSeparator)
               ? ToInt32(number, decimalSeparator, L"The distance")
               : otherwise;
}

int32_t ScaleToPercent(int32_t edge, int32_t percent, const wchar_t* what) {
    const DescribeQuantity quantity = [what] { return std::wstring(what); };
    const int32_t product = Mul32(edge, percent, quantity);
    return RoundToInt32(static_cast<double>(product) / 100.0, quantity);
}

}  // namespace

void ParseSteps(const std::wstring& text, int32_t& vertical, int32_t& horizontal,
                int32_t defaultStep, const std::wstring& decimalSeparator) {
    const auto [before, last] = StepTokens(text);
    horizontal = ReadStep(last, defaultStep, decimalSeparator);
    vertical = ReadStep(before, horizontal, decimalSeparator);
}

bool HasPercentSign(const std::wstring& text, const std::wstring& decimalSeparator) {
    const auto [before, last] = StepTokens(text);
    return IsPercentage(before, decimalSeparator) || IsPercentage(last, decimalSeparator);
}

void ScaleStepsToPercent(const Rect& workArea, int32_t& vertical, int32_t& horizontal) {
    vertical = ScaleToPercent(workArea.bottom, vertical,
                              L"The work area's bottom edge times the vertical percentage");
    horizontal = ScaleToPercent(workArea.right, horizontal,
                                L"The work area's right edge times the horizontal percentage");
}
