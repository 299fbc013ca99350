// The registry: values of the desktop settings.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "platform/win32_desktop.h"
#include "platform/win32_handles.h"

namespace {

// Predefined keys are 32-bit values that Windows sign-extends to pointer width.
HKEY ToHkey(RegistryKey key) {
    if (key == kHkeyCurrentUser) {
        return HKEY_CURRENT_USER;
    }
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

// A registry text as stored: UTF-16 units, up to the first NUL if there is one.
std::wstring StoredText(const std::string& data) {
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

std::wstring ExpandVariables(const std::wstring& text) {
    const DWORD length = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (length == 0) {
        return text;
    }
    std::wstring expanded(length, L'\0');
    ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length);
    return expanded.substr(0, expanded.find(L'\0'));
}

}  // namespace

bool Win32Desktop::ReadValue(RegistryKey root, const std::wstring& subkey, const std::wstring& name,
                             RegistryValue& value) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(ToHkey(root), subkey.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const KeyHandle key(opened);
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    std::string data(size, '\0');
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
        return false;
    }
    data.resize(std::min<size_t>(size, data.size()));
    value = {type, {}, {}};
    if (type == REG_SZ) {
        value.Text = StoredText(data);
    } else if (type == REG_EXPAND_SZ) {
        value.Text = ExpandVariables(StoredText(data));
    } else {
        value.Bytes = data;
    }
    return true;
}

void Win32Desktop::WriteValue(RegistryKey root, const std::wstring& subkey,
                              const std::wstring& name, const RegistryValue& value) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(ToHkey(root), subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS) {
        return;
    }
    const KeyHandle key(created);
    const bool text = value.Type == REG_SZ || value.Type == REG_EXPAND_SZ;
    // Text is stored with its terminating NUL, as Windows itself stores it.
    const auto* data = text ? reinterpret_cast<const BYTE*>(value.Text.c_str())
                            : reinterpret_cast<const BYTE*>(value.Bytes.data());
    const size_t size = text ? (value.Text.size() + 1) * sizeof(wchar_t) : value.Bytes.size();
    RegSetValueExW(key.get(), name.c_str(), 0, value.Type, data, static_cast<DWORD>(size));
}
