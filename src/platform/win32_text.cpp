// Text: the user's locale, decoding, and the system's words for an error.
#include <windows.h>

#include <cstring>

#include "platform/win32_desktop.h"

namespace {

// Multi-byte text in `codePage` as the program's text; empty when `flags` reject it.
std::wstring Widen(UINT codePage, DWORD flags, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, text.data(), length);
    return text;
}

}  // namespace

std::wstring SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length > 0 ? std::wstring(text, length) : L"Unknown error.";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n')) {
        reason.pop_back();
    }
    return reason;
}

std::wstring Win32Desktop::DecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) {
        return L".";
    }
    return separator;
}

std::wstring Win32Desktop::LowerCase(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), size, nullptr, 0);
    std::wstring lowered(static_cast<size_t>(length), L'\0');
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), size, lowered.data(), length);
    return lowered;
}

bool Win32Desktop::DecodeText(std::string_view bytes, TextEncoding encoding, std::wstring& text) {
    if (encoding == TextEncoding::Utf16Le) {
        // Windows' own text is UTF-16 LE: the units are taken as they stand.
        text.assign(bytes.size() / 2, L'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
        if (bytes.size() % 2 != 0) {
            text += L'\xFFFD';
        }
        return true;
    }
    if (encoding == TextEncoding::Ansi) {
        text = Widen(CP_ACP, 0, bytes);
        return true;
    }
    text = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, bytes);
    if (text.empty() && !bytes.empty()) {
        text = Widen(CP_UTF8, 0, bytes);  // malformed sequences become U+FFFD
        return false;
    }
    return true;
}
