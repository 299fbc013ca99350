// The number reader on any text: what IsNumericText accepts converts or overflows, what it
// rejects raises the conversion error, and a value in range lies within a half of strtold's.
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/number_text.h"
#include "common/run_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text(bytes.begin(), bytes.end());
    const bool numeric = IsNumericText(text, L".");
    const long double reference = std::strtold(bytes.c_str(), nullptr);
    try {
        const int32_t value = ToInt32(text, L".", L"The value");
        if (!numeric || std::fabs(reference - value) > 0.5L) {
            std::abort();
        }
    } catch (const RunError& error) {
        const bool inRange = std::fabs(reference) < 2147483647.0L;
        if (error.Kind() != (numeric ? RunErrorKind::Overflow : RunErrorKind::Conversion) ||
            (numeric && inRange)) {
            std::abort();
        }
    }
    return 0;
}
