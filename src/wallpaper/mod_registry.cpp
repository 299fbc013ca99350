#include "wallpaper/mod_registry.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

std::wstring ReadStringData(Desktop& desktop, RegistryKey key, const std::string& name,
                            unsigned long size) {
    std::string buffer(size, '\0');
    unsigned long type = 0;
    if (desktop.RegQueryValueExA(key, name, type, reinterpret_cast<unsigned char*>(buffer.data()),
                                 size) != 0) {
        return {};
    }
    // Data stored without a terminating NUL (even with size 0) is text all the same.
    const std::string_view data(buffer.data(), std::min<size_t>(size, buffer.size()));
    return desktop.FromAnsi(data.substr(0, data.find('\0')));
}

std::wstring ReadBinaryData(Desktop& desktop, RegistryKey key, const std::string& name,
                            unsigned long size) {
    // Read at the reported size, so longer data cannot overrun; the first two bytes are the
    // value. A single byte is the low byte of an integer that starts at 0.
    std::string buffer(size, '\0');
    unsigned long type = 0;
    if (desktop.RegQueryValueExA(key, name, type, reinterpret_cast<unsigned char*>(buffer.data()),
                                 size) != 0) {
        return {};
    }
    const auto byteAt = [&](size_t index) {
        return index < size && index < buffer.size() ? static_cast<uint8_t>(buffer[index]) : 0;
    };
    const auto value = static_cast<int16_t>(static_cast<uint16_t>(byteAt(0) | (byteAt(1) << 8)));
    return std::to_wstring(value);
}

}  // namespace

std::wstring QueryValueText(Desktop& desktop, RegistryKey key, const std::wstring& name) {
    const std::string ansiName = desktop.ToAnsi(name);
    unsigned long type = 0;
    unsigned long size = 0;
    if (desktop.RegQueryValueExA(key, ansiName, type, nullptr, size) != 0) {
        return {};
    }
    if (type == kRegSz) {
        return ReadStringData(desktop, key, ansiName, size);
    }
    if (type == kRegBinary) {
        return ReadBinaryData(desktop, key, ansiName, size);
    }
    return {};
}

std::wstring GetRegValue(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                         const std::wstring& name) {
    RegistryKey key = 0;
    desktop.RegOpenKeyA(root, desktop.ToAnsi(subkey), key);
    std::wstring text = QueryValueText(desktop, key, name);
    desktop.RegCloseKey(key);
    return text;
}

void SetRegString(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                  const std::wstring& name, const std::wstring& value) {
    RegistryKey key = 0;
    desktop.RegCreateKeyA(root, desktop.ToAnsi(subkey), key);
    const std::string data = desktop.ToAnsi(value);
    desktop.RegSetValueExA(key, desktop.ToAnsi(name), kRegSz,
                           reinterpret_cast<const unsigned char*>(data.data()),
                           static_cast<unsigned long>(data.size()));
    desktop.RegCloseKey(key);
}
