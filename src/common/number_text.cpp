#include "common/number_text.h"

#include <optional>

#include "common/checked_math.h"
#include "common/run_error.h"
#include "common/trim_spaces.h"

namespace {

// value = (negative ? -1 : 1) * digits * 10^exponent, digits without leading zeros.
struct DecimalNumber {
    bool negative = false;
    std::string digits;
    int64_t exponent = 0;
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Far beyond any 32-bit value, and small enough that adding digit counts never overflows.
constexpr int64_t kExponentLimit = 1'000'000'000;

std::optional<DecimalNumber> ParseDecimal(std::wstring_view raw, std::wstring_view separator) {
    const std::wstring text = TrimSpaces(raw);
    DecimalNumber number;
    size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        number.negative = text[i] == L'-';
        ++i;
    }
    size_t mantissaDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits) {
        number.digits += static_cast<char>(text[i]);
    }
    if (!separator.empty() && std::wstring_view(text).substr(i, separator.size()) == separator) {
        i += separator.size();
        for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits) {
            number.digits += static_cast<char>(text[i]);
            --number.exponent;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
            negativeExponent = text[i] == L'-';
            ++i;
        }
        if (i == text.size() || !IsDigit(text[i])) {
            return std::nullopt;
        }
        int64_t exponent = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            exponent = std::min(exponent * 10 + (text[i] - L'0'), kExponentLimit);
        }
        number.exponent += negativeExponent ? -exponent : exponent;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    const auto firstNonZero = number.digits.find_first_not_of('0');
    number.digits.erase(0, firstNonZero == std::string::npos ? number.digits.size() : firstNonZero);
    return number;
}

// Rounds exactly, on the decimal digits, so that no binary approximation can move a half.
int32_t RoundToInt32(const DecimalNumber& number, std::wstring_view text,
                     const std::wstring& what) {
    const auto overflow = [&]() { RaiseOverflow(what, TrimSpaces(text)); };
    if (number.digits.empty()) {
        return 0;
    }
    const int64_t integerLength = static_cast<int64_t>(number.digits.size()) + number.exponent;
    if (integerLength > 10) {
        overflow();
    }
    int64_t whole = 0;
    for (int64_t k = 0; k < integerLength; ++k) {
        const size_t index = static_cast<size_t>(k);
        whole = whole * 10 + (index < number.digits.size() ? number.digits[index] - '0' : 0);
    }
    if (integerLength >= 0 && static_cast<size_t>(integerLength) < number.digits.size()) {
        const std::string fraction = number.digits.substr(static_cast<size_t>(integerLength));
        const char first = fraction[0];
        const bool beyondHalf = fraction.find_first_not_of('0', 1) != std::string::npos;
        if (first > '5' || (first == '5' && (beyondHalf || whole % 2 != 0))) {
            ++whole;
        }
    }
    const int64_t value = number.negative ? -whole : whole;
    if (value < INT32_MIN || value > INT32_MAX) {
        overflow();
    }
    return static_cast<int32_t>(value);
}

}  // namespace

bool IsNumericText(std::wstring_view text, std::wstring_view decimalSeparator) {
    return ParseDecimal(text, decimalSeparator).has_value();
}

int32_t ToInt32(std::wstring_view text, std::wstring_view decimalSeparator,
                const std::wstring& what) {
    const auto number = ParseDecimal(text, decimalSeparator);
    if (!number) {
        RaiseConversion(what, std::wstring(text));
    }
    return RoundToInt32(*number, text, what);
}
