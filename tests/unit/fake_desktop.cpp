#include "fake_desktop.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

constexpr long kNotFound = 2;
constexpr long kInvalidHandle = 6;
constexpr long kMoreData = 234;
constexpr unsigned kKeepZOrder = 4;  // SWP_NOZORDER
constexpr RegistryKey kOpenKey{0x1000};

}  // namespace

FakeDesktop::Window& FakeDesktop::At(WindowHandle handle) {
    for (auto& window : Windows) {
        if (window.Handle == handle) {
            return window;
        }
    }
    throw std::out_of_range("no such window");
}

std::wstring FakeDesktop::LowerCase(std::wstring_view text) {
    std::wstring lowered(text);
    for (auto& c : lowered) {
        if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            c += 0x20;
        }
    }
    return lowered;
}

std::wstring FakeDesktop::FromAnsi(std::string_view bytes) {
    std::wstring text;
    for (unsigned char c : bytes) {
        text += static_cast<wchar_t>(c);
    }
    return text;
}

std::string FakeDesktop::ToAnsi(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text) {
        bytes += c < 0x100 ? static_cast<char>(c) : '?';
    }
    return bytes;
}

// Well-formed text only, code points up to U+FFFF: what the tests write.
std::wstring FakeDesktop::FromUnicode(std::string_view bytes, UnicodeForm form) {
    std::wstring text;
    const auto byte = [&](size_t i) { return static_cast<wchar_t>(uint8_t(bytes[i])); };
    for (size_t i = 0; i < bytes.size();) {
        if (form == UnicodeForm::Utf16Le) {
            text += static_cast<wchar_t>(byte(i) | byte(i + 1) << 8);
            i += 2;
            continue;
        }
        const int extra = byte(i) < 0x80 ? 0 : byte(i) < 0xE0 ? 1 : 2;
        wchar_t c = byte(i++) & (0x7F >> extra);
        for (int k = 0; k < extra; ++k) {
            c = static_cast<wchar_t>(c << 6 | (byte(i++) & 0x3F));
        }
        text += c;
    }
    return text;
}

void FakeDesktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    std::vector<WindowHandle> handles;  // taken before the first callback, as Windows does
    for (const auto& window : Windows) {
        handles.push_back(window.Handle);
    }
    for (WindowHandle handle : handles) {
        if (!callback(handle)) {
            break;
        }
    }
}

int FakeDesktop::GetWindowTextA(WindowHandle window, char* buffer, int maxCount) {
    const std::string& title = At(window).Title;
    const size_t length = std::min(title.size(), static_cast<size_t>(maxCount - 1));
    std::memcpy(buffer, title.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

void FakeDesktop::SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                               int32_t cx, int32_t cy, unsigned flags) {
    Window& moved = At(window);
    if (flags & kKeepSize) {
        cx = moved.Bounds.right - moved.Bounds.left;
        cy = moved.Bounds.bottom - moved.Bounds.top;
    }
    moved.Bounds = {x, y, x + cx, y + cy};
    if (insertAfter == kInsertAtBottom && !(flags & kKeepZOrder)) {
        const auto at = std::find_if(Windows.begin(), Windows.end(),
                                     [&](const Window& w) { return w.Handle == window; });
        std::rotate(at, at + 1, Windows.end());
    }
}

long FakeDesktop::RegOpenKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) {
    std::string lowered = subkey;
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), ::tolower);
    if (root != kHkeyCurrentUser || lowered != "control panel\\desktop") {
        return kNotFound;
    }
    key = kOpenKey;
    ++OpenKeys;
    return 0;
}

long FakeDesktop::RegQueryValueExA(RegistryKey key, const std::string& name, unsigned long& type,
                                   unsigned char* data, unsigned long& size) {
    if (key != kOpenKey || DesktopKey.count(name) == 0) {
        return key != kOpenKey ? kInvalidHandle : kNotFound;
    }
    const Value& value = DesktopKey[name];
    type = value.Type;
    if (data != nullptr && (value.ReadFails || size < value.Data.size())) {
        return kMoreData;
    }
    if (data != nullptr) {
        std::copy(value.Data.begin(), value.Data.end(), data);
    }
    size = static_cast<unsigned long>(value.Data.size());
    return 0;
}

long FakeDesktop::RegSetValueExA(RegistryKey key, const std::string& name, unsigned long type,
                                 const unsigned char* data, unsigned long size) {
    if (key != kOpenKey) {
        return kInvalidHandle;
    }
    DesktopKey[name] = {type, std::string(reinterpret_cast<const char*>(data), size)};
    return 0;
}

long FakeDesktop::RegCloseKey(RegistryKey key) {
    OpenKeys -= key == kOpenKey ? 1 : 0;
    return key == kOpenKey ? 0 : kInvalidHandle;
}

bool FakeDesktop::ReadFileBytes(const std::wstring& path, std::string& bytes) {
    if (Files.count(path) == 0 || !Files[path].Bytes) {
        return false;
    }
    bytes = *Files[path].Bytes;
    return true;
}
