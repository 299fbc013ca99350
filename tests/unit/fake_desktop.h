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
        std::wstring Title;
        Rect Bounds;
        bool Visible = true;
        WindowState State = {};
        std::optional<Rect> Frame = {};  // the visible frame, where the system reports one
        bool Cloaked = false;
        std::optional<Rect> Restore = {};  // where a minimised window comes back to
        int Dpi = 0;  // that of the monitor it was last on; 0: the one it is on
    };
    struct Monitor {
        Rect Bounds, WorkArea;
        int Dpi = 96;
    };
    struct File {
        std::optional<std::string> Bytes;  // none: it exists but cannot be read
        FileTest Test = FileTest::Present;
    };

    std::wstring Arguments;
    std::wstring Separator = L".";
    Rect WorkArea{0, 0, 1024, 748};
    std::vector<Window> Windows;
    std::vector<Monitor> Monitors;  // none: one monitor, 1024 x 768 with the work area above
    WindowHandle Shell{};
    std::map<std::wstring, File> Files;                // by full path
    std::map<std::wstring, RegistryValue> DesktopKey;  // the desktop settings, by value name
    std::optional<std::wstring> AppliedWallpaper;
    std::vector<std::wstring> Errors;
    bool Closed = false;
    WindowHandle Active{};  // the window with the keyboard focus

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
            const bool capital = (c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
            return capital ? static_cast<wchar_t>(c + 0x20) : c;
        });
        return lowered;
    }
    // Latin-1 as the ANSI code page, and UTF-8 up to two bytes a character: what tests write.
    bool DecodeText(std::string_view bytes, TextEncoding encoding, std::wstring& text) override {
        text.clear();
        bool valid = true;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto at = [&](size_t k) { return k < bytes.size() ? uint8_t(bytes[k]) : 0; };
            if (encoding == TextEncoding::Utf16Le) {
                text += wchar_t(at(i) | at(i + 1) << 8), ++i;
            } else if (encoding == TextEncoding::Ansi || at(i) < 0x80) {
                text += wchar_t(at(i));
            } else if (at(i) >= 0xC2 && at(i) < 0xE0 && at(i + 1) >> 6 == 2) {
                text += wchar_t((at(i) & 0x1F) << 6 | (at(i + 1) & 0x3F)), ++i;
            } else {
                text += L'\xFFFD', valid = false;
            }
        }
        return valid;
    }
    Rect GetWorkArea() override { return WorkArea; }
    void EnumWindows(const std::function<bool(WindowHandle)>& callback) override {
        const std::vector<Window> listed = Windows;  // taken before the first call, as Windows does
        for (size_t i = 0; i < listed.size() && callback(listed[i].Handle); ++i) {
        }
    }
    WindowFacts ReadWindow(WindowHandle window, bool withFrame) override {
        const Window& w = At(window);
        return {w.Visible, w.Cloaked, w.Title.substr(0, 255),
                w.Bounds,  w.State,   withFrame ? w.Frame : std::nullopt,
                w.Restore};
    }
    MonitorArea MonitorNearest(const Rect& r) override {
        return {NearestMonitor(r).Bounds, NearestMonitor(r).WorkArea};
    }
    // The monitor that holds the rectangle's centre; else the first, the primary.
    Monitor NearestMonitor(const Rect& r) {
        const int64_t x = (int64_t{r.left} + r.right) / 2, y = (int64_t{r.top} + r.bottom) / 2;
        const auto holds = [&](const Monitor& m) {
            return x >= m.Bounds.left && x < m.Bounds.right && y >= m.Bounds.top &&
                   y < m.Bounds.bottom;
        };
        const auto found = std::find_if(Monitors.begin(), Monitors.end(), holds);
        return found != Monitors.end() ? *found
               : Monitors.empty()      ? Monitor{{0, 0, 1024, 768}, WorkArea}
                                       : Monitors[0];
    }
    WindowHandle ShellWindow() override { return Shell; }
    // On a monitor of another DPI a window is resized about its centre, by new/old.
    bool SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                      int32_t cx, int32_t cy, unsigned flags) override {
        Window& moved = At(window);
        Rect& bounds = moved.Bounds;
        const int dpi = moved.Dpi ? moved.Dpi : NearestMonitor(bounds).Dpi;
        const bool keepSize = flags & kKeepSize;
        const auto end = [](int32_t from, int64_t size) {  // clamped, as the real desktop's
            return static_cast<int32_t>(std::clamp<int64_t>(from + size, INT32_MIN, INT32_MAX));
        };
        bounds = {x, y, end(x, keepSize ? int64_t{bounds.right} - bounds.left : cx),
                  end(y, keepSize ? int64_t{bounds.bottom} - bounds.top : cy)};
        if ((moved.Dpi = NearestMonitor(bounds).Dpi) != dpi) {
            const int32_t gx = (bounds.right - bounds.left) * (moved.Dpi - dpi) / dpi / 2;
            const int32_t gy = (bounds.bottom - bounds.top) * (moved.Dpi - dpi) / dpi / 2;
            bounds = {bounds.left - gx, bounds.top - gy, bounds.right + gx, bounds.bottom + gy};
        }
        if (insertAfter == kInsertAtBottom && !(flags & kKeepZOrder)) {
            std::rotate(Find(window), Find(window) + 1, Windows.end());  // `moved` is another now
        }
        Active = flags & kNoActivate ? Active : window;
        return At(window).Dpi != dpi;
    }
    void SetRestorePlace(WindowHandle window, const Rect& restore) override {
        At(window).Restore = restore;
    }
    // Only the desktop settings key is there; key names are compared without regard to case.
    bool IsDesktopKey(RegistryKey root, const std::wstring& subkey) {
        return root == kHkeyCurrentUser && LowerCase(subkey) == L"control panel\\desktop";
    }
    bool ReadValue(RegistryKey root, const std::wstring& subkey, const std::wstring& name,
                   RegistryValue& value) override {
        const bool found = IsDesktopKey(root, subkey) && DesktopKey.count(name);
        value = found ? DesktopKey[name] : value;
        return found;
    }
    void WriteValue(RegistryKey root, const std::wstring& subkey, const std::wstring& name,
                    const RegistryValue& value) override {
        if (IsDesktopKey(root, subkey)) {
            DesktopKey[name] = value;
        }
    }
    void SetDeskWallpaper(const std::wstring& path, unsigned flags) override {
        AppliedWallpaper = path;
        if (flags & kUpdateProfile) {  // as Windows stores it: plain text
            DesktopKey[L"Wallpaper"] = {kRegSz, path, {}};
        }
    }
    FileTest TestFile(const std::wstring& path) override {
        return Files.count(path) ? Files[path].Test : FileTest::Absent;
    }
    bool ReadFileBytes(const std::wstring& path, std::string& bytes,
                       std::wstring& reason) override {
        const bool readable = Files.count(path) && Files[path].Bytes;
        bytes = readable ? *Files[path].Bytes : "";
        reason = readable ? L"" : L"Access is denied.";
        return readable;
    }
    void ReportError(const std::wstring& message) override { Errors.push_back(message); }
    void CloseMainWindow() override { Closed = true; }
};
