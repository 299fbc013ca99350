#include "common/marked_text.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// wchar_t is UTF-16 on Windows and UTF-32 elsewhere.
void AppendCodePoint(std::wstring& text, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (c >> 10));
            text += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    text += static_cast<wchar_t>(c);
}

unsigned char ByteAt(std::string_view bytes, size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

struct Utf8Lead {
    int extra;          // continuation bytes that follow
    char32_t bits;      // the lead byte's share of the code point
    char32_t smallest;  // below this the sequence is overlong
};

// Lead bytes that can start no valid sequence give extra = -1.
Utf8Lead ReadLead(unsigned char lead) {
    if (lead < 0x80) {
        return {0, lead, 0};
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {1, static_cast<char32_t>(lead & 0x1F), 0x80};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return {2, static_cast<char32_t>(lead & 0x0F), 0x800};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return {3, static_cast<char32_t>(lead & 0x07), 0x10000};
    }
    return {-1, 0, 0};
}

// Decodes one sequence at `i` and moves `i` past it.
char32_t NextUtf8(std::string_view bytes, size_t& i) {
    const Utf8Lead lead = ReadLead(ByteAt(bytes, i++));
    if (lead.extra < 0) {
        return kReplacement;
    }
    char32_t c = lead.bits;
    for (int k = 0; k < lead.extra; ++k) {
        if (i >= bytes.size() || (ByteAt(bytes, i) & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (ByteAt(bytes, i++) & 0x3F);
    }
    const bool surrogate = IsHighSurrogate(c) || IsLowSurrogate(c);
    return c < lead.smallest || c > 0x10FFFF || surrogate ? kReplacement : c;
}

std::wstring DecodeUtf8(std::string_view bytes) {
    std::wstring text;
    for (size_t i = 0; i < bytes.size();) {
        AppendCodePoint(text, NextUtf8(bytes, i));
    }
    return text;
}

std::wstring DecodeUtf16Le(std::string_view bytes) {
    std::wstring text;
    const size_t units = bytes.size() / 2;
    const auto unitAt = [&](size_t k) {
        return static_cast<char32_t>(ByteAt(bytes, 2 * k) | (ByteAt(bytes, 2 * k + 1) << 8));
    };
    for (size_t k = 0; k < units; ++k) {
        const char32_t unit = unitAt(k);
        if (IsHighSurrogate(unit) && k + 1 < units && IsLowSurrogate(unitAt(k + 1))) {
            AppendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00));
            ++k;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendCodePoint(text, kReplacement);
        } else {
            AppendCodePoint(text, unit);
        }
    }
    if (bytes.size() % 2 != 0) {
        AppendCodePoint(text, kReplacement);
    }
    return text;
}

}  // namespace

bool DecodeMarkedText(std::string_view bytes, std::wstring& text) {
    constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
    constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
    if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        text = DecodeUtf8(bytes.substr(kUtf8Mark.size()));
        return true;
    }
    if (bytes.substr(0, kUtf16LeMark.size()) == kUtf16LeMark) {
        text = DecodeUtf16Le(bytes.substr(kUtf16LeMark.size()));
        return true;
    }
    return false;
}
