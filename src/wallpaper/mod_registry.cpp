#include "wallpaper/mod_registry.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {

// A key opened for one call, closed however the call ends.
class OpenKey {
  public:
    explicit OpenKey(Desktop& desktop) : desktop_(desktop) {}
    ~OpenKey() { desktop_.RegCloseKey(key); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    RegistryKey key{};

  private:
    Desktop& desktop_;
};

// The value's data at the size reported for it, so that no read can overrun; false when the
// read fails.
bool ReadValueData(Desktop& desktop, RegistryKey key, const std::string& name, unsigned long size,
                   std::string& data) {
    data.assign(size, '\0');
    unsigned long type = 0;
    unsigned long read = size;
    if (desktop.RegQueryValueExA(key, name, type, reinterpret_cast<unsigned char*>(data.data()),
                                 read) != 0) {
        return false;
    }
    data.resize(std::min<size_t>(read, data.size()));
    return true;
}

std::wstring StringText(Desktop& desktop, const std::string& data) {
    // Data stored without a terminating NUL (even with size 0) is text all the same.
    return desktop.FromAnsi(std::string_view(data).substr(0, data.find('\0')));
}

// The first two bytes as a little-endian signed 16-bit integer; a single byte is the low byte
// of an integer that starts at 0.
std::wstring BinaryText(const std::string& data) {
    const auto byteAt = [&](size_t index) {
        return index < data.size() ? static_cast<uint8_t>(data[index]) : 0;
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
    std::string data;
    if ((type != kRegSz && type != kRegBinary) ||
        !ReadValueData(desktop, key, ansiName, size, data)) {
        return {};
    }
    return type == kRegSz ? StringText(desktop, data) : BinaryText(data);
}

std::wstring GetRegValue(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                         const std::wstring& name) {
    OpenKey opened(desktop);
    desktop.RegOpenKeyA(root, desktop.ToAnsi(subkey), opened.key);
    return QueryValueText(desktop, opened.key, name);
}

void SetRegString(Desktop& desktop, RegistryKey root, const std::wstring& subkey,
                  const std::wstring& name, const std::wstring& value) {
    OpenKey opened(desktop);
    desktop.RegCreateKeyA(root, desktop.ToAnsi(subkey), opened.key);
    const std::string data = desktop.ToAnsi(value);
    desktop.RegSetValueExA(opened.key, desktop.ToAnsi(name), kRegSz,
                           reinterpret_cast<const unsigned char*>(data.data()),
                           static_cast<unsigned long>(data.size()));
}
