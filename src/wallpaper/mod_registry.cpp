#include "wallpaper/mod_registry.h"

#include <algorithm>

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
