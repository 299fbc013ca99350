#include "common/checked_math.h"

#include <cmath>
#include <limits>

#include "common/run_error.h"

int32_t Narrow32(int64_t value, const DescribeQuantity& what) {
    if (value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        RaiseOverflow(what(), std::to_wstring(value));
    }
    return static_cast<int32_t>(value);
}

int32_t Add32(int32_t a, int32_t b, const DescribeQuantity& what) {
    return Narrow32(int64_t{a} + b, what);
}

int32_t Mul32(int32_t a, int32_t b, const DescribeQuantity& what) {
    return Narrow32(int64_t{a} * b, what);
}

int32_t DirectedStep(int16_t direction, int32_t step) {
    return Mul32(direction, step,
                 [] { return std::wstring(L"The distance, reversed by the minus sign,"); });
}

int32_t RoundToInt32(double value, const DescribeQuantity& what) {
    if (!std::isfinite(value) || value < -2147483648.5 || value > 2147483647.5) {
        RaiseOverflow(what(), std::to_wstring(value));
    }
    double whole = std::floor(value);
    double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    return Narrow32(static_cast<int64_t>(whole), what);
}
