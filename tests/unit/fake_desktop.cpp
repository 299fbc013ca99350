#include "fake_desktop.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <stdexcept>

namespace {

constexpr long kErrorFileNotFound = 2;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorMoreData = 234;

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string EncodeUtf8(std::wstring_view text) {
    std::string bytes;
    for (wchar_t wc : text) {
        // NOLINTNEXTLINE(bugprone-signed-char-misuse): wchar_t is taken for signed char here
        const auto c = static_cast<uint32_t>(wc);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | (c >> 6));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | (c >> 12));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (c >> 18));
            bytes += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

std::wstring DecodeUtf8(std::string_view bytes) {
    std::wstring text;
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        if (lead >= 0x80 && lead < 0xC0) {
            text += L'?';
            ++i;
            continue;
        }
        uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        size_t k = 1;
        for (; k <= static_cast<size_t>(extra) && i + k < bytes.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        }
        text += static_cast<wchar_t>(c);
        i += k;
    }
    return text;
}

}  // namespace

std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) {
        narrow += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return narrow;
}

WindowHandle FakeDesktop::AddWindow(std::string title, Rect bounds, bool visible) {
    const WindowHandle handle = nextWindow_++;
    Windows.insert(Windows.begin(), Window{handle, visible, std::move(title), bounds, {}, {}});
    return handle;
}

FakeDesktop::Window& FakeDesktop::WindowAt(WindowHandle handle) {
    for (auto& window : Windows) {
        if (window.Handle == handle) {
            return window;
        }
    }
    throw std::out_of_range("no such window");
}

std::vector<WindowHandle> FakeDesktop::StackingOrder() const {
    std::vector<WindowHandle> order;
    for (const auto& window : Windows) {
        order.push_back(window.Handle);
    }
    return order;
}

void FakeDesktop::SetValue(const std::string& subkey, const std::string& name, Value value) {
    registry_[Lowered(subkey)][Lowered(name)] = std::move(value);
}

const FakeDesktop::Value* FakeDesktop::FindValue(const std::string& subkey,
                                                 const std::string& name) const {
    const auto key = registry_.find(Lowered(subkey));
    if (key == registry_.end()) {
        return nullptr;
    }
    const auto value = key->second.find(Lowered(name));
    return value == key->second.end() ? nullptr : &value->second;
}

bool FakeDesktop::HasKey(const std::string& subkey) const {
    return registry_.count(Lowered(subkey)) != 0;
}

std::vector<std::string> FakeDesktop::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const auto& call : Calls) {
        if (call.rfind(prefix, 0) == 0) {
            matching.push_back(call);
        }
    }
    return matching;
}

std::wstring FakeDesktop::CommandLineArguments() {
    Calls.push_back("CommandLineArguments");
    return Arguments;
}

std::wstring FakeDesktop::ProgramDirectory() {
    Calls.push_back("ProgramDirectory");
    return Directory;
}

std::wstring FakeDesktop::DecimalSeparator() { return Separator; }

std::wstring FakeDesktop::LowerCase(std::wstring_view text) {
    std::wstring lowered(text);
    for (auto& c : lowered) {
        const bool latinCapital = (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        c = latinCapital ? static_cast<wchar_t>(c + 0x20)
                         : static_cast<wchar_t>(c < 0x80 ? std::towlower(c) : c);
    }
    return lowered;
}

std::wstring FakeDesktop::FromAnsi(std::string_view bytes) {
    if (AnsiCodePage == CodePage::MultiByte) {
        return DecodeUtf8(bytes);
    }
    std::wstring text;
    for (char b : bytes) {
        text += static_cast<wchar_t>(static_cast<unsigned char>(b));
    }
    return text;
}

std::string FakeDesktop::ToAnsi(std::wstring_view text) {
    if (AnsiCodePage == CodePage::MultiByte) {
        return EncodeUtf8(text);
    }
    std::string bytes;
    for (wchar_t c : text) {
        bytes += c < 0x100 ? static_cast<char>(c) : '?';
    }
    return bytes;
}

Rect FakeDesktop::GetWorkArea() {
    Calls.push_back("GetWorkArea");
    return WorkArea;
}

void FakeDesktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    Calls.push_back("EnumWindows");
    // Like the real call, the list is taken before the first callback.
    for (WindowHandle handle : StackingOrder()) {
        if (!callback(handle)) {
            break;
        }
    }
}

bool FakeDesktop::IsWindowVisible(WindowHandle window) { return WindowAt(window).Visible; }

int FakeDesktop::GetWindowTextA(WindowHandle window, char* buffer, int maxCount) {
    if (maxCount <= 0) {
        return 0;
    }
    const std::string& title = WindowAt(window).Title;
    const size_t length = std::min(title.size(), static_cast<size_t>(maxCount - 1));
    std::memcpy(buffer, title.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

Rect FakeDesktop::GetWindowRect(WindowHandle window) { return WindowAt(window).Bounds; }

WindowState FakeDesktop::GetWindowState(WindowHandle window) { return WindowAt(window).State; }

bool FakeDesktop::GetVisibleFrame(WindowHandle window, Rect& frame) {
    const Window& found = WindowAt(window);
    if (found.Frame) {
        frame = *found.Frame;
    }
    return found.Frame.has_value();
}

MonitorArea FakeDesktop::MonitorNearest(const Rect& rect) {
    if (Monitors.empty()) {
        return {{0, 0, 1024, 768}, WorkArea};
    }
    // The largest overlap wins; without any, the smallest gap.
    const auto overlap = [&](const Rect& m) {
        const int64_t w = std::min<int64_t>(m.right, rect.right) - std::max(m.left, rect.left);
        const int64_t h = std::min<int64_t>(m.bottom, rect.bottom) - std::max(m.top, rect.top);
        return w > 0 && h > 0 ? w * h : 0;
    };
    const auto gap = [&](const Rect& m) {
        const int64_t dx =
            std::max<int64_t>({0, int64_t{m.left} - rect.right, int64_t{rect.left} - m.right});
        const int64_t dy =
            std::max<int64_t>({0, int64_t{m.top} - rect.bottom, int64_t{rect.top} - m.bottom});
        return dx * dx + dy * dy;
    };
    const MonitorArea* best = &Monitors.front();
    for (const MonitorArea& monitor : Monitors) {
        const int64_t have = overlap(best->Bounds);
        const int64_t could = overlap(monitor.Bounds);
        if (could > have || (have == 0 && could == 0 && gap(monitor.Bounds) < gap(best->Bounds))) {
            best = &monitor;
        }
    }
    return *best;
}

WindowHandle FakeDesktop::ShellWindow() { return Shell; }

void FakeDesktop::SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                               int32_t cx, int32_t cy, unsigned flags) {
    Calls.push_back("SetWindowPos " + std::to_string(window));
    Moves.push_back({window, insertAfter, x, y, cx, cy, flags});
    Window& moved = WindowAt(window);
    // Sizes of absurd rectangles are clamped rather than wrapped, like the real desktop's.
    const auto clamp = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const int64_t width =
        (flags & kKeepSize) ? int64_t{moved.Bounds.right} - moved.Bounds.left : cx;
    const int64_t height =
        (flags & kKeepSize) ? int64_t{moved.Bounds.bottom} - moved.Bounds.top : cy;
    if (moved.Frame) {
        // The frame moves with the window.
        const int64_t dx = int64_t{x} - moved.Bounds.left;
        const int64_t dy = int64_t{y} - moved.Bounds.top;
        const Rect f = *moved.Frame;
        moved.Frame =
            Rect{clamp(f.left + dx), clamp(f.top + dy), clamp(f.right + dx), clamp(f.bottom + dy)};
    }
    moved.Bounds = {x, y, clamp(x + width), clamp(y + height)};
    if (insertAfter == kInsertAtBottom && (flags & kKeepZOrder) == 0) {
        const auto at = std::find_if(Windows.begin(), Windows.end(),
                                     [&](const Window& w) { return w.Handle == window; });
        std::rotate(at, at + 1, Windows.end());
    }
}

long FakeDesktop::RegOpenKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) {
    Calls.push_back("RegOpenKeyA " + subkey);
    if (root != kHkeyCurrentUser || !HasKey(subkey)) {
        return kErrorFileNotFound;
    }
    key = nextKey_++;
    OpenKeys[key] = Lowered(subkey);
    return 0;
}

long FakeDesktop::RegCreateKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) {
    Calls.push_back("RegCreateKeyA " + subkey);
    if (root != kHkeyCurrentUser) {
        return kErrorFileNotFound;
    }
    registry_[Lowered(subkey)];
    key = nextKey_++;
    OpenKeys[key] = Lowered(subkey);
    return 0;
}

long FakeDesktop::RegQueryValueExA(RegistryKey key, const std::string& name, unsigned long& type,
                                   unsigned char* data, unsigned long& size) {
    Calls.push_back("RegQueryValueExA " + name + (data ? " data" : " size"));
    const auto open = OpenKeys.find(key);
    if (open == OpenKeys.end()) {
        return kErrorInvalidHandle;
    }
    const Value* value = FindValue(open->second, name);
    if (value == nullptr) {
        return kErrorFileNotFound;
    }
    type = value->Type;
    std::string reported = value->Data;
    if (AddsNulToUnterminatedText && type == kRegSz && !reported.empty() &&
        reported.back() != '\0') {
        reported += '\0';
    }
    const auto stored = static_cast<unsigned long>(reported.size());
    if (data != nullptr) {
        if (size < stored) {
            size = stored;
            return kErrorMoreData;
        }
        std::copy(reported.begin(), reported.end(), data);
    }
    size = stored;
    return 0;
}

long FakeDesktop::RegSetValueExA(RegistryKey key, const std::string& name, unsigned long type,
                                 const unsigned char* data, unsigned long size) {
    Calls.push_back("RegSetValueExA " + name);
    const auto open = OpenKeys.find(key);
    if (open == OpenKeys.end()) {
        return kErrorInvalidHandle;
    }
    registry_[open->second][Lowered(name)] =
        Value{type, std::string(reinterpret_cast<const char*>(data), size)};
    return 0;
}

long FakeDesktop::RegCloseKey(RegistryKey key) {
    Calls.push_back("RegCloseKey");
    return OpenKeys.erase(key) ? 0 : kErrorInvalidHandle;
}

void FakeDesktop::SetDeskWallpaper(const std::string& path, unsigned flags) {
    Calls.push_back("SetDeskWallpaper " + path + " " + std::to_string(flags));
}

FileTest FakeDesktop::TestFile(const std::wstring& path) {
    Calls.push_back("TestFile " + Narrow(path));
    const auto file = Files.find(path);
    if (file != Files.end() && file->second.TestFails) {
        return FileTest::Failed;
    }
    if (file == Files.end() || file->second.Hidden || file->second.System ||
        file->second.Directory) {
        return FileTest::Absent;
    }
    return FileTest::Present;
}

bool FakeDesktop::ReadFileBytes(const std::wstring& path, std::string& bytes) {
    Calls.push_back("ReadFile " + Narrow(path));
    bytes.clear();
    const auto file = Files.find(path);
    if (file == Files.end() || file->second.Unreadable || file->second.Directory) {
        return false;
    }
    bytes = file->second.Bytes;
    return true;
}

void FakeDesktop::ReportError(const std::wstring& message) {
    Calls.push_back("ReportError");
    Errors.push_back(message);
}

void FakeDesktop::CloseMainWindow() {
    Calls.push_back("CloseMainWindow");
    Closed = true;
}
