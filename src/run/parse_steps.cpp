#include "run/parse_steps.h"

#include "common/checked_math.h"
#include "common/number_text.h"
#include "common/trim_spaces.h"

namespace {

std::wstring LastToken(const std::wstring& text, size_t lastSpace) {
    return TrimSpaces(std::wstring_view(text).substr(lastSpace));
}

int32_t ScaleToPercent(int32_t edge, int32_t percent, const wchar_t* what) {
    const DescribeQuantity quantity = [what] { return std::wstring(what); };
    const int32_t product = Mul32(edge, percent, quantity);
    return RoundToInt32(static_cast<double>(product) / 100.0, quantity);
}

}  // namespace

void ParseSteps(std::wstring text, int32_t& vertical, int32_t& horizontal, int32_t defaultStep,
                const std::wstring& decimalSeparator) {
    vertical = defaultStep;
    horizontal = defaultStep;
    size_t lastSpace = text.rfind(L' ');
    if (lastSpace == std::wstring::npos) {
        return;
    }
    const std::wstring last = LastToken(text, lastSpace);
    text = L" " + TrimSpaces(std::wstring_view(text).substr(0, lastSpace + 1));
    if (IsNumericText(last, decimalSeparator)) {
        horizontal = ToInt32(last, decimalSeparator, L"The distance");
    }
    lastSpace = text.rfind(L' ');
    const std::wstring before = LastToken(text, lastSpace);
    if (IsNumericText(before, decimalSeparator)) {
        vertical = ToInt32(before, decimalSeparator, L"The distance");
    } else if (horizontal != defaultStep) {
        vertical = horizontal;
    }
}

void ScaleStepsToPercent(const Rect& workArea, int32_t& vertical, int32_t& horizontal) {
    vertical = ScaleToPercent(workArea.bottom, vertical,
                              L"The work area's bottom edge times the vertical percentage");
    horizontal = ScaleToPercent(workArea.right, horizontal,
                                L"The work area's right edge times the horizontal percentage");
}
