#pragma once

#include <algorithm>
#include <cmath>
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
        std::optional<RestorePlace> Restore = {};  // of a minimised or maximised one
        // A per-monitor-aware window's own, that of the monitor it was last on; 0: that of the
        // monitor it is on, as every other window has
        int Dpi = 0;
        WindowProgram Program = {L"app.exe"};  // the system refuses to move one with MoreRights
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
    std::vector<Monitor> Displays;  // none: one monitor, 1024 x 768 with the work area above
    WindowHandle Shell{};
    std::map<std::wstring, File> Files;                // by full path
    std::map<std::wstring, RegistryValue> DesktopKey;  // the desktop settings, by value name
    std::optional<ShownWallpaper> Shown;               // none: the system cannot tell
    std::optional<std::wstring> AppliedWallpaper;
    std::vector<std::wstring> Errors;
    std::optional<std::wstring> Plan;  // what a dry run showed
    bool Closed = false;

    std::vector<Window>::iterator Find(WindowHandle handle) {
        return std::find_if(Windows.begin(), Windows.end(),
                            [&](const Window& w) { return w.Handle == handle; });
    }
    Window& At(WindowHandle handle) { return *Find(handle); }

    std::wstring CommandLineArguments() override { return Arguments; }
    std::wstring ProgramDirectory() override { return L"C:\\Tools"; }
    std::wstring UserListDirectory() override {
        return L"C:\\Users\\Ann\\AppData\\Roaming\\Deskglide";
    }
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
    WindowFacts ReadWindow(WindowHandle window) override {
        const Window& w = At(window);
        return {w.Visible, w.Cloaked, w.Title.substr(0, 255), w.State};
    }
    WindowPlace ReadPlace(WindowHandle window, bool withFrame) override {
        return {At(window).Bounds, withFrame ? At(window).Frame : std::nullopt};
    }
    std::optional<RestorePlace> ReadRestorePlace(WindowHandle window) override {
        return At(window).Restore;
    }
    WindowDpi ReadDpi(WindowHandle window, bool withAwareness) override {
        const int dpi = At(window).Dpi;
        return {withAwareness && dpi != 0, dpi != 0 ? unsigned(dpi) : 96u};
    }
    MonitorArea MonitorNearest(const Rect& r) override {
        const Monitor m = NearestMonitor(r);
        return {m.Bounds, m.WorkArea, unsigned(m.Dpi)};
    }
    std::vector<MonitorArea> Monitors() override {
        std::vector<MonitorArea> areas;
        for (const Monitor& m : Screens()) {
            areas.push_back({m.Bounds, m.WorkArea, unsigned(m.Dpi)});
        }
        return areas;
    }
    std::vector<Monitor> Screens() {
        return Displays.empty() ? std::vector<Monitor>{{{0, 0, 1024, 768}, WorkArea}} : Displays;
    }
    // As Windows finds it: the monitor with the largest part of the rectangle, else the nearest
    // by distance; the first, the primary, of equals.
    Monitor NearestMonitor(const Rect& r) {
        const auto nearness = [&](const Monitor& m) {
            const double w =
                std::min(r.right, m.Bounds.right) - double(std::max(r.left, m.Bounds.left));
            const double h =
                std::min(r.bottom, m.Bounds.bottom) - double(std::max(r.top, m.Bounds.top));
            return w > 0 && h > 0 ? w * h
                                  : -std::pow(std::min(w, 0.0), 2) - std::pow(std::min(h, 0.0), 2);
        };
        const std::vector<Monitor> screens = Screens();
        return *std::max_element(screens.begin(), screens.end(),
                                 [&](auto& a, auto& b) { return nearness(a) < nearness(b); });
    }
    WindowHandle ShellWindow() override { return Shell; }
    // Windows rescales a window for a monitor of another DPI than the one it has (its own where
    // it is per-monitor aware, else its monitor's): about its centre, by new/old.
    MoveOutcome MoveWindow(WindowHandle window, const WindowMove& move) override {
        Window& moved = At(window);
        if (moved.Program.MoreRights) {
            return MoveOutcome::Refused;
        }
        Rect& bounds = moved.Bounds;
        const int dpi = moved.Dpi ? moved.Dpi : NearestMonitor(bounds).Dpi;
        const auto end = [](int32_t from, int64_t size) {  // clamped, as the real desktop's
            return static_cast<int32_t>(std::clamp<int64_t>(from + size, INT32_MIN, INT32_MAX));
        };
        if (!move.KeepPlace) {
            bounds = {move.X, move.Y,
                      end(move.X, move.Resize ? move.Width : int64_t{bounds.right} - bounds.left),
                      end(move.Y, move.Resize ? move.Height : int64_t{bounds.bottom} - bounds.top)};
        }
        if (const int now = NearestMonitor(bounds).Dpi; !move.KeepPlace && now != dpi) {
            const int32_t gx = (bounds.right - bounds.left) * (now - dpi) / dpi / 2;
            const int32_t gy = (bounds.bottom - bounds.top) * (now - dpi) / dpi / 2;
            bounds = {bounds.left - gx, bounds.top - gy, bounds.right + gx, bounds.bottom + gy};
            moved.Dpi = moved.Dpi ? now : 0;
        }
        moved.Restore = move.Restore ? move.Restore : moved.Restore;
        if (!move.KeepStacking) {
            std::rotate(Find(window), Find(window) + 1, Windows.end());  // `moved` is another now
        }
        return moved.Program.Answers ? MoveOutcome::Done : MoveOutcome::LeftToItsProgram;
    }
    WindowProgram ReadProgram(WindowHandle window) override { return At(window).Program; }
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
    std::optional<ShownWallpaper> WallpaperShown() override { return Shown; }
    void ReapplyWallpaper(const std::wstring& path) override { AppliedWallpaper = path; }
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
    void ShowPlan(const std::wstring& text) override { Plan = text; }
    void CloseMainWindow() override { Closed = true; }
};
