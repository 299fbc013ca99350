#include "common/run_error.h"

RunError::RunError(RunErrorKind kind, std::wstring message)
    : std::runtime_error("run stopped"), kind_(kind), message_(std::move(message)) {}

namespace {

// Values longer than this are cut in a message: a box that echoed 70,000 digits would grow past
// the screen's edge, out of reach of its own OK button.
constexpr size_t kLongestShownValue = 64;
constexpr size_t kShownBeginning = 40;

bool IsTooLongToShow(const std::wstring& text) { return text.size() > kLongestShownValue; }

std::wstring Beginning(const std::wstring& text) {
    if (!IsTooLongToShow(text)) {
        return text;
    }
    size_t length = kShownBeginning;
    const wchar_t last = text[length - 1];
    if (last >= 0xD800 && last <= 0xDBFF) {
        --length;  // never half a surrogate pair
    }
    return text.substr(0, length) + L"...";
}

std::wstring LengthNote(const std::wstring& text) {
    return IsTooLongToShow(text) ? L" (" + std::to_wstring(text.size()) + L" characters)" : L"";
}

}  // namespace

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + Beginning(text) + L"\"" + LengthNote(text);
}

int ExitStatusFor(RunErrorKind kind) {
    switch (kind) {
        case RunErrorKind::Overflow:
            return 2;
        case RunErrorKind::Conversion:
            return 3;
        default:
            return 4;
    }
}

void RaiseOverflow(const std::wstring& what, const std::wstring& value) {
    throw RunError(RunErrorKind::Overflow,
                   what + L" would be " + Beginning(value) + LengthNote(value) +
                       L", which is out of range: numbers must lie between -2147483648 and "
                       L"2147483647.");
}

void RaiseConversion(const std::wstring& what, const std::wstring& text) {
    throw RunError(RunErrorKind::Conversion,
                   text.empty() ? what + L" is empty, not a number."
                                : what + L" " + Quoted(text) + L" is not a number.");
}
