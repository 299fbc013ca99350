// Every text IsNumericText accepts converts, or overflows when it is out of range; every text it
// rejects raises the conversion error; an accepted value is the nearest integer to strtold's.
#include <cmath>
#include <cstdlib>
#include <string>

#include "common/number_text.h"
#include "common/run_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool comma = size > 0 && (data[0] & 1);
    const std::string bytes(reinterpret_cast<const char*>(data) + (size > 0), size - (size > 0));
    std::string c = bytes;  // in C notation, for strtold
    for (char& ch : c) {
        ch = ch == (comma ? ',' : '.') ? '.' : ch == (comma ? '.' : ',') ? '?' : ch;
    }
    const long double reference = std::strtold(c.c_str(), nullptr);
    const std::wstring text(bytes.begin(), bytes.end());
    const bool numeric = IsNumericText(text, comma ? L"," : L".");
    try {
        const int32_t value = ToInt32(text, comma ? L"," : L".", L"The value");
        if (!numeric || (std::fabs(reference) < 1e15L && std::fabs(reference - value) > 0.5L)) {
            std::abort();
        }
    } catch (const RunError& error) {
        if (error.Kind() != (numeric ? RunErrorKind::Overflow : RunErrorKind::Conversion) ||
            (numeric && std::fabs(reference) < 2147483647.0L)) {
            std::abort();
        }
    }
    return 0;
}
