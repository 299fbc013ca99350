#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Signed 32-bit arithmetic that raises the overflow error instead of wrapping. `what` names the
// quantity being computed, for the user's error message; it is called only when a value
// overflows, so that a pass over many windows builds no message it does not show.
using DescribeQuantity = std::function<std::wstring()>;
int32_t Add32(int32_t a, int32_t b, const DescribeQuantity& what);
int32_t Mul32(int32_t a, int32_t b, const DescribeQuantity& what);
int32_t Narrow32(int64_t value, const DescribeQuantity& what);

// The step turned round when `direction` is -1. Only -2147483648 cannot be: the message then
// names the distance, not a position computed from it.
int32_t DirectedStep(int16_t direction, int32_t step);

// Rounds to the nearest integer, halves to the even neighbour; raises the overflow error when
// the result does not fit in 32 bits (or the value is not finite).
int32_t RoundToInt32(double value, const DescribeQuantity& what);
