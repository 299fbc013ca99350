#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// True when the text, apart from surrounding spaces, is an optional sign, digits with an
// optional decimal separator and fraction, and an optional exponent (e or E, optional sign,
// digits). `decimalSeparator` is the user locale's. Empty text is not numeric.
bool IsNumericText(std::wstring_view text, std::wstring_view decimalSeparator);

// The exact value of numeric text rounded to the nearest integer, halves to the even
// neighbour. Raises the conversion error for text that is not numeric (empty included) and the
// overflow error for a value outside the signed 32-bit range; `what` names the value for the
// user's message.
int32_t ToInt32(std::wstring_view text, std::wstring_view decimalSeparator,
                const std::wstring& what);
