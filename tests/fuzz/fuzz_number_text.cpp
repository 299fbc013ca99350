// Every text IsNumericText accepts converts, or overflows when its value is out of range;
// every text it rejects raises the conversion error; nothing else is ever thrown. Accepted
// values are checked against a long double reading of the same text.
#include <cmath>
#include <cstdlib>
#include <limits>

#include "common/number_text.h"
#include "common/run_error.h"
#include "fuzz_input.h"

namespace {

// The text in C notation, for strtold: the locale's separator becomes a full stop.
std::string AsCText(const std::wstring& text, wchar_t separator) {
    std::string c;
    for (wchar_t ch : text) {
        if (ch == separator) {
            c += '.';
        } else if (ch < 0x80) {
            c += static_cast<char>(ch);
        } else {
            c += '?';
        }
    }
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const wchar_t separator = (input.Take<uint8_t>() & 1) ? L',' : L'.';
    const std::wstring text = input.RestAsText();
    const std::wstring separatorText(1, separator);
    const bool numeric = IsNumericText(text, separatorText);
    try {
        const int32_t value = ToInt32(text, separatorText, L"The value");
        if (!numeric) {
            std::abort();
        }
        const std::string c = AsCText(text, separator);
        const long double reference = std::strtold(c.c_str(), nullptr);
        // Far from a half, the nearest integer is unambiguous even in long double.
        const long double distance = std::fabs(reference - static_cast<long double>(value));
        if (std::isfinite(reference) && std::fabs(reference) < 1e15L && distance > 0.5L + 1e-9L) {
            std::abort();
        }
    } catch (const RunError& error) {
        const auto expected = numeric ? RunErrorKind::Overflow : RunErrorKind::Conversion;
        if (error.Kind() != expected) {
            std::abort();
        }
        if (numeric) {
            const long double reference = std::strtold(AsCText(text, separator).c_str(), nullptr);
            if (std::fabs(reference) < 2147483647.0L) {
                std::abort();  // an in-range value must not overflow
            }
        }
    }
    return 0;
}
