#include "wallpaper/mod_registry.h"

#include <algorithm>
#include <iterator>

namespace {

// The first `size` bytes as a little-endian unsigned integer; missing bytes count as 0.
uint32_t LittleEndian(const std::string& bytes, size_t size) {
    uint32_t value = 0;
    for (size_t i = std::min(size, bytes.size()); i-- > 0;) {
        value = value << 8 | static_cast<uint8_t>(bytes[i]);
    }
    return value;
}

}  // namespace

std::wstring QueryValueText(const RegistryValue& value) {
    switch (value.Type) {
        case kRegSz:
        case kRegExpandSz:
            return value.Text;
        case kRegBinary:
            return std::to_wstring(static_cast<int16_t>(LittleEndian(value.Bytes, 2)));
        case kRegDword:
            return std::to_wstring(static_cast<int32_t>(LittleEndian(value.Bytes, 4)));
        default:
            return {};
    }
}

std::wstring GetRegValue(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                         const std::wstring& name, unsigned long* type) {
    RegistryValue value;
    const bool read = desktop.ReadValue(root, subkey, name, value);
    if (type != nullptr) {
        *type = read ? value.Type : kRegSz;
    }
    return read ? QueryValueText(value) : std::wstring();
}

void SetRegNumber(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                  const std::wstring& name, int32_t number, unsigned long type) {
    RegistryValue value;
    if (type == kRegDword) {
        value.Type = kRegDword;
        for (int shift = 0; shift < 32; shift += 8) {
            value.Bytes += static_cast<char>(static_cast<uint32_t>(number) >> shift & 0xFF);
        }
    } else {
        value.Text = std::to_wstring(number);
    }
    desktop.WriteValue(root, subkey, name, value);
}

std::wstring UnreadTypeName(unsigned long type) {
    // By type number; REG_SZ, REG_EXPAND_SZ, REG_BINARY and REG_DWORD (1 to 4) are read.
    // clang-format off
    static const wchar_t* const kNames[] = {
        L"REG_NONE", L"", L"", L"", L"", L"REG_DWORD_BIG_ENDIAN", L"REG_LINK", L"REG_MULTI_SZ",
        L"REG_RESOURCE_LIST", L"REG_FULL_RESOURCE_DESCRIPTOR", L"REG_RESOURCE_REQUIREMENTS_LIST",
        L"REG_QWORD"};
    // clang-format on
    return type < std::size(kNames) ? kNames[type] : std::to_wstring(type);
}
