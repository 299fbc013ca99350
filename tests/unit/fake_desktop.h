#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/desktop.h"

inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

// An in-memory desktop: windows from the top of the stacking order down, the desktop settings
// key, files, a locale and Latin-1 as the ANSI code page. It keeps what a run did to it: where
// windows went, what was stored and shown.
class FakeDesktop : public Desktop {
  public:
    struct Window {
        WindowHandle Handle{};
        std::string Title;  // in the ANSI code page
        Rect Bounds;
        bool Visible = true;
        WindowState State = {};
        std::optional<Rect> Frame = {};  // the visible frame, where the system reports one
    };
    struct Value {
        unsigned long Type = kRegSz;
        std::string Data;
        bool ReadFails = false;  // the size is reported, the data read fails
        bool operator==(const Value&) const = default;
    };
    struct File {
        std::optional<std::string> Bytes;  // none: it exists but cannot be read
        FileTest Test = FileTest::Present;
    };

    std::wstring Arguments;
    std::wstring Separator = L".";
    Rect WorkArea{0, 0, 1024, 748};
    std::vector<Window> Windows;
    std::vector<MonitorArea> Monitors;  // none: one monitor, 1024 x 768 with the work area above
    WindowHandle Shell{};
    std::map<std::wstring, File> Files;       // by full path
    std::map<std::string, Value> DesktopKey;  // the desktop settings, by value name
    std::optional<std::string> AppliedWallpaper;
    std::vector<std::wstring> Errors;
    bool Closed = false;
    int OpenKeys = 0;

    std::vector<Window>::iterator Find(WindowHandle handle) {
        return std::find_if(Windows.begin(), Windows.end(),
                            [&](const Window& w) { return w.Handle == handle; });
    }
    Window& At(WindowHandle handle) { return *Find(handle); }

    std::wstring CommandLineArguments() override { return Arguments; }
    std::wstring ProgramDirectory() override { return L"C:\\Tools"; }
    std::wstring DecimalSeparator() override { return Separator; }
    std::wstring LowerCase(std::wstring_view text) override {  // ASCII and Latin-1 capitals
        std::wstring lowered(text);
        std::transform(text.begin(), text.end(), lowered.begin(), [](wchar_t c) -> wchar_t {
            return (c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 0x20 : c;
        });
        return lowered;
    }
    std::wstring FromAnsi(std::string_view bytes) override {
        std::wstring text(bytes.size(), L'\0');
        std::transform(bytes.begin(), bytes.end(), text.begin(), [](char c) { return uint8_t(c); });
        return text;
    }
    std::string ToAnsi(std::wstring_view text) override {
        std::string bytes(text.size(), '\0');
        std::transform(text.begin(), text.end(), bytes.begin(),
                       [](wchar_t c) { return c < 0x100 ? char(c) : '?'; });
        return bytes;
    }
    // Exact for what the tests write: ASCII in UTF-8, Latin-1 in UTF-16.
    std::wstring FromUnicode(std::string_view bytes, UnicodeForm form) override {
        std::string narrow;
        for (size_t i = 0; i < bytes.size(); i += form == UnicodeForm::Utf16Le ? 2 : 1) {
            narrow += bytes[i];
        }
        return FromAnsi(narrow);
    }
    Rect GetWorkArea() override { return WorkArea; }
    void EnumWindows(const std::function<bool(WindowHandle)>& callback) override {
        const std::vector<Window> listed = Windows;  // taken before the first call, as Windows does
        for (size_t i = 0; i < listed.size() && callback(listed[i].Handle); ++i) {
        }
    }
    bool IsWindowVisible(WindowHandle window) override { return At(window).Visible; }
    int GetWindowTextA(WindowHandle window, char* buffer, int maxCount) override {
        const std::string title = At(window).Title.substr(0, static_cast<size_t>(maxCount - 1));
        std::memcpy(buffer, title.c_str(), title.size() + 1);
        return static_cast<int>(title.size());
    }
    Rect GetWindowRect(WindowHandle window) override { return At(window).Bounds; }
    WindowState GetWindowState(WindowHandle window) override { return At(window).State; }
    bool GetVisibleFrame(WindowHandle window, Rect& frame) override {
        frame = At(window).Frame.value_or(frame);
        return At(window).Frame.has_value();
    }
    // The monitor that holds the rectangle's centre; else the first, the primary.
    MonitorArea MonitorNearest(const Rect& r) override {
        const int64_t x = (int64_t{r.left} + r.right) / 2, y = (int64_t{r.top} + r.bottom) / 2;
        const auto holds = [&](const MonitorArea& m) {
            return x >= m.Bounds.left && x < m.Bounds.right && y >= m.Bounds.top &&
                   y < m.Bounds.bottom;
        };
        const auto found = std::find_if(Monitors.begin(), Monitors.end(), holds);
        return found != Monitors.end() ? *found
               : Monitors.empty()      ? MonitorArea{{0, 0, 1024, 768}, WorkArea}
                                       : Monitors[0];
    }
    WindowHandle ShellWindow() override { return Shell; }
    void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                      int32_t cx, int32_t cy, unsigned flags) override {
        Rect& bounds = At(window).Bounds;
        const bool keepSize = flags & kKeepSize;
        const auto end = [](int32_t from, int64_t size) {  // clamped, as the real desktop's
            return static_cast<int32_t>(std::clamp<int64_t>(from + size, INT32_MIN, INT32_MAX));
        };
        bounds = {x, y, end(x, keepSize ? int64_t{bounds.right} - bounds.left : cx),
                  end(y, keepSize ? int64_t{bounds.bottom} - bounds.top : cy)};
        if (insertAfter == kInsertAtBottom && !(flags & kKeepZOrder)) {
            std::rotate(Find(window), Find(window) + 1, Windows.end());
        }
    }
    long RegOpenKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) override {
        std::string lowered = subkey;  // key names are compared without regard to case
        std::transform(lowered.begin(), lowered.end(), lowered.begin(), ::tolower);
        const bool found = root == kHkeyCurrentUser && lowered == "control panel\\desktop";
        key = found ? kOpenKey : key;
        OpenKeys += found ? 1 : 0;
        return found ? 0 : 2;  // not found
    }
    long RegCreateKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) override {
        return RegOpenKeyA(root, subkey, key);
    }
    long RegQueryValueExA(RegistryKey key, const std::string& name, unsigned long& type,
                          unsigned char* data, unsigned long& size) override {
        const auto value = DesktopKey.find(name);
        if (key != kOpenKey || value == DesktopKey.end() ||
            (data && (value->second.ReadFails || size < value->second.Data.size()))) {
            return 2;
        }
        type = value->second.Type;
        size = static_cast<unsigned long>(value->second.Data.size());
        std::copy_n(value->second.Data.data(), data ? size : 0, data);
        return 0;
    }
    long RegSetValueExA(RegistryKey key, const std::string& name, unsigned long type,
                        const unsigned char* data, unsigned long size) override {
        if (key == kOpenKey) {
            DesktopKey[name] = {type, std::string(reinterpret_cast<const char*>(data), size)};
        }
        return key == kOpenKey ? 0 : 6;  // invalid handle
    }
    long RegCloseKey(RegistryKey key) override {
        OpenKeys -= key == kOpenKey ? 1 : 0;
        return key == kOpenKey ? 0 : 6;  // invalid handle
    }
    void SetDeskWallpaper(const std::string& path, unsigned flags) override {
        AppliedWallpaper = flags == kUpdateAndBroadcast ? path : "(flags)";
    }
    FileTest TestFile(const std::wstring& path) override {
        return Files.count(path) ? Files[path].Test : FileTest::Absent;
    }
    bool ReadFileBytes(const std::wstring& path, std::string& bytes) override {
        const bool readable = Files.count(path) && Files[path].Bytes;
        bytes = readable ? *Files[path].Bytes : "";
        return readable;
    }
    void ReportError(const std::wstring& message) override { Errors.push_back(message); }
    void CloseMainWindow() override { Closed = true; }

  private:
    static constexpr RegistryKey kOpenKey{0x1000};
};
