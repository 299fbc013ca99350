#include "common/run_error.h"

RunError::RunError(RunErrorKind kind, std::wstring message)
    : std::runtime_error("run stopped"), kind_(kind), message_(std::move(message)) {}

int ExitStatusFor(RunErrorKind kind) {
    switch (kind) {
        case RunErrorKind::Overflow:
            return 2;
        case RunErrorKind::Conversion:
            return 3;
        case RunErrorKind::InvalidArgument:
            return 4;
    }
    return 1;
}

void RaiseOverflow(const std::wstring& what, const std::wstring& value) {
    throw RunError(RunErrorKind::Overflow,
                   what + L" would be " + value +
                       L", which is out of range: numbers must lie between -2147483648 and "
                       L"2147483647.");
}

void RaiseConversion(const std::wstring& what, const std::wstring& text) {
    throw RunError(RunErrorKind::Conversion, text.empty()
                                                 ? what + L" is empty, not a number."
                                                 : what + L" \"" + text + L"\" is not a number.");
}

void RaiseInvalidArgument(const std::wstring& message) {
    throw RunError(RunErrorKind::InvalidArgument, message);
}
