#include "registry_fixture.h"

#include <gtest/gtest.h>

void PrintTo(const RawValue& value, std::ostream* out) {
    *out << "type " << value.type << ", " << value.bytes.size() << " bytes";
}

std::optional<RawValue> ReadRaw(const wchar_t* subkey, const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    RawValue value;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.bytes.resize(size);
        status = RegQueryValueExW(key, name, nullptr, &value.type,
                                  reinterpret_cast<BYTE*>(value.bytes.data()), &size);
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::optional(value) : std::nullopt;
}

void WriteRaw(const wchar_t* subkey, const wchar_t* name, const std::optional<RawValue>& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    if (value) {
        RegSetValueExW(key, name, 0, value->type,
                       reinterpret_cast<const BYTE*>(value->bytes.data()),
                       static_cast<DWORD>(value->bytes.size()));
    } else {
        RegDeleteValueW(key, name);
    }
    RegCloseKey(key);
}

void WriteAnsi(const wchar_t* subkey, const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, subkey, &key), ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

std::optional<std::wstring> ReadText(const wchar_t* name) {
    const auto raw = ReadRaw(kDesktopKey, name);
    if (!raw || raw->type != REG_SZ) {
        return std::nullopt;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(raw->bytes.data()),
                      raw->bytes.size() / sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

void WriteText(const wchar_t* name, const std::wstring& text) {
    const std::string bytes(reinterpret_cast<const char*>(text.c_str()),
                            (text.size() + 1) * sizeof(wchar_t));
    WriteRaw(kDesktopKey, name, RawValue{REG_SZ, bytes});
}

SavedDesktopValues::SavedDesktopValues() {
    for (size_t i = 0; i < kDesktopValueCount; ++i) {
        saved_[i] = ReadRaw(kDesktopKey, kDesktopValueNames[i]);
    }
}

SavedDesktopValues::~SavedDesktopValues() {
    for (size_t i = 0; i < kDesktopValueCount; ++i) {
        WriteRaw(kDesktopKey, kDesktopValueNames[i], saved_[i]);
    }
}
