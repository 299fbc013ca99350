#include "platform/win32_desktop.h"

#include <windows.h>
// After windows.h, which it needs; only its types and constants are used.
#include <dwmapi.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

#include "platform/win32_dpi.h"
#include "platform/win32_handles.h"

namespace {

// Predefined keys are 32-bit values that Windows sign-extends to pointer width.
HKEY ToHkey(RegistryKey key) {
    if (key == kHkeyCurrentUser) {
        return HKEY_CURRENT_USER;
    }
    return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

Rect ToRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

RECT ToRECT(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// False where the window manager does not answer, as under Wine (E_NOTIMPL) or without DWM.
bool GetDwmAttribute(HWND window, DWORD attribute, void* value, DWORD size) {
    static const auto getAttribute =
        SystemFunction<DwmGetWindowAttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute");
    return getAttribute != nullptr && SUCCEEDED(getAttribute(window, attribute, value, size));
}

// Placements of top-level windows other than tool windows are in workspace coordinates: the
// work area's corner of the window's monitor is (0, 0). This is what to add to get screen ones.
POINT WorkspaceOffset(HWND window, DWORD exStyle) {
    if ((exStyle & WS_EX_TOOLWINDOW) != 0) {
        return {0, 0};
    }
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// `rect` moved by (dx, dy), kept within the 32-bit range.
RECT Offset(const RECT& rect, LONG dx, LONG dy) {
    const auto move = [](LONG value, LONG by) {
        return static_cast<LONG>(std::clamp<int64_t>(int64_t{value} + by, INT32_MIN, INT32_MAX));
    };
    return {move(rect.left, dx), move(rect.top, dy), move(rect.right, dx), move(rect.bottom, dy)};
}

// How long a window may take to answer before its move is left to its own thread.
constexpr UINT kAnswerTimeoutMs = 200;

// Files larger than this are read without reserving their size first.
constexpr LONGLONG kReserveLimit = 256LL * 1024 * 1024;

// In the session namespace: one lock per user session, as each session has its own desktop.
constexpr wchar_t kRunLockName[] = L"Local\\Deskglide.Run";
// Far longer than any run takes, short enough that a stuck lock is soon noticed.
constexpr DWORD kRunLockTimeoutMs = 30000;

// Every monitor, in the system's order.
std::vector<HMONITOR> DisplayMonitors() {
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM found) {
            reinterpret_cast<std::vector<HMONITOR>*>(found)->push_back(monitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

struct EnumState {
    const std::function<bool(WindowHandle)>* callback;
    std::exception_ptr error;
};

// An exception must not unwind through user32's frames: it is parked and rethrown afterwards.
BOOL CALLBACK EnumTrampoline(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    try {
        return (*state->callback)(FromHwnd(window)) ? TRUE : FALSE;
    } catch (...) {
        state->error = std::current_exception();
        return FALSE;
    }
}

// Multi-byte text in `codePage` as the program's text; empty when `flags` reject it.
std::wstring Widen(UINT codePage, DWORD flags, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, text.data(), length);
    return text;
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

// The path of the file that `path` names, with every link on the way resolved: the program started
// through winget's link to it looks for its lists beside the exe itself. `path` where the system
// cannot tell (a volume without a drive letter, a file system that does not say).
std::wstring FinalPath(const std::wstring& path) {
    const FileHandle file =
        OwnFile(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr));
    constexpr DWORD kDosName = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD size = file ? GetFinalPathNameByHandleW(file.get(), nullptr, 0, kDosName) : 0;
    std::wstring final(size, L'\0');
    const DWORD length =
        size == 0 ? 0 : GetFinalPathNameByHandleW(file.get(), final.data(), size, kDosName);
    if (length == 0 || length >= size) {
        return path;
    }
    final.resize(length);
    // The system's own form of the path: \\?\C:\... for a drive, \\?\UNC\server\... for a share.
    constexpr std::wstring_view kShare = L"\\\\?\\UNC\\";
    constexpr std::wstring_view kDrive = L"\\\\?\\";
    if (final.starts_with(kShare)) {
        return L"\\\\" + final.substr(kShare.size());
    }
    return final.starts_with(kDrive) ? final.substr(kDrive.size()) : final;
}

}  // namespace

std::wstring SystemReason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length > 0 ? std::wstring(text, length) : L"Unknown error.";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n')) {
        reason.pop_back();
    }
    return reason;
}

std::wstring Win32Desktop::CommandLineArguments() {
    const wchar_t* line = GetCommandLineW();
    // The program's path ends at the closing quote, or at the first blank when unquoted.
    if (*line == L'"') {
        ++line;
        while (*line != L'\0' && *line != L'"') {
            ++line;
        }
        if (*line == L'"') {
            ++line;
        }
    } else {
        while (*line != L'\0' && *line != L' ' && *line != L'\t') {
            ++line;
        }
    }
    while (*line == L' ' || *line == L'\t') {
        ++line;
    }
    return line;
}

std::wstring Win32Desktop::ProgramDirectory() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            const std::wstring full = FinalPath(std::wstring(path.data(), length));
            const auto separator = full.find_last_of(L"\\/");
            return separator == std::wstring::npos ? std::wstring() : full.substr(0, separator);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring Win32Desktop::UserListDirectory() {
    const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    std::wstring folder(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", folder.data(), size);
    if (length == 0 || length >= size) {
        return {};
    }
    folder.resize(length);
    return folder + L"\\Deskglide";
}

std::wstring Win32Desktop::DecimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) {
        return L".";
    }
    return separator;
}

std::wstring Win32Desktop::LowerCase(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), size, nullptr, 0);
    std::wstring lowered(static_cast<size_t>(length), L'\0');
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), size, lowered.data(), length);
    return lowered;
}

bool Win32Desktop::DecodeText(std::string_view bytes, TextEncoding encoding, std::wstring& text) {
    if (encoding == TextEncoding::Utf16Le) {
        // Windows' own text is UTF-16 LE: the units are taken as they stand.
        text.assign(bytes.size() / 2, L'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
        if (bytes.size() % 2 != 0) {
            text += L'\xFFFD';
        }
        return true;
    }
    if (encoding == TextEncoding::Ansi) {
        text = Widen(CP_ACP, 0, bytes);
        return true;
    }
    text = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, bytes);
    if (text.empty() && !bytes.empty()) {
        text = Widen(CP_UTF8, 0, bytes);  // malformed sequences become U+FFFD
        return false;
    }
    return true;
}

Rect Win32Desktop::GetWorkArea() {
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return ToRect(area);
}

void Win32Desktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    EnumState state{&callback, nullptr};
    ::EnumWindows(EnumTrampoline, reinterpret_cast<LPARAM>(&state));
    if (state.error) {
        std::rethrow_exception(state.error);
    }
}

WindowFacts Win32Desktop::ReadWindow(WindowHandle window, bool withFrame) {
    const HWND hwnd = ToHwnd(window);
    WindowFacts facts;
    // A top-level window's own WS_VISIBLE is what IsWindowVisible answers for it.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    facts.Visible = (style & WS_VISIBLE) != 0;
    if (!facts.Visible) {
        return facts;
    }
    DWORD cloaked = 0;
    facts.Cloaked = GetDwmAttribute(hwnd, DWMWA_CLOAKED, &cloaked, sizeof cloaked) && cloaked != 0;
    if (facts.Cloaked) {
        return facts;
    }
    wchar_t title[256] = {};
    facts.Title.assign(title, static_cast<size_t>(std::max(0, GetWindowTextW(hwnd, title, 256))));
    if (facts.Title.empty()) {
        return facts;
    }
    RECT rect = {};
    ::GetWindowRect(hwnd, &rect);
    facts.Bounds = ToRect(rect);
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    facts.State = {(style & WS_MAXIMIZE) != 0,        (style & WS_MINIMIZE) != 0,
                   (exStyle & WS_EX_TOPMOST) != 0,    (style & WS_CAPTION) == WS_CAPTION,
                   (exStyle & WS_EX_NOACTIVATE) != 0, (exStyle & WS_EX_TOOLWINDOW) != 0,
                   (exStyle & WS_EX_LAYERED) != 0,    (exStyle & WS_EX_TRANSPARENT) != 0};
    RECT frame = {};
    WINDOWINFO info = {};
    info.cbSize = sizeof info;
    if (withFrame && GetDwmAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) {
        facts.Frame = ToRect(frame);
    } else if (withFrame && facts.State.Maximised && GetWindowInfo(hwnd, &info) != 0) {
        // Maximising puts the borders beyond the work area, where they are not seen.
        const auto x = static_cast<LONG>(info.cxWindowBorders);
        const auto y = static_cast<LONG>(info.cyWindowBorders);
        facts.Frame = Rect{rect.left + x, rect.top + y, rect.right - x, rect.bottom - y};
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (facts.State.Minimised && GetWindowPlacement(hwnd, &placement) != 0) {
        const POINT offset = WorkspaceOffset(hwnd, exStyle);
        facts.Restore = ToRect(Offset(placement.rcNormalPosition, offset.x, offset.y));
    }
    return facts;
}

MonitorArea Win32Desktop::MonitorNearest(const Rect& rect) {
    const RECT bounds = ToRECT(rect);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &info);
    return {ToRect(info.rcMonitor), ToRect(info.rcWork)};
}

std::vector<Rect> Win32Desktop::WorkAreas() {
    std::vector<Rect> areas;
    for (const HMONITOR monitor : DisplayMonitors()) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info) != 0) {
            areas.push_back(ToRect(info.rcWork));
        }
    }
    return areas;
}

WindowHandle Win32Desktop::ShellWindow() { return FromHwnd(GetShellWindow()); }

bool Win32Desktop::ThreadAnswers(WindowHandle window) {
    // Windows of one thread answer or hang together, so each thread is asked once per run.
    const DWORD thread = GetWindowThreadProcessId(ToHwnd(window), nullptr);
    const auto known = threadAnswers_.find(thread);
    if (known != threadAnswers_.end()) {
        return known->second;
    }
    DWORD_PTR ignored = 0;
    const bool answers =
        SendMessageTimeoutW(ToHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                            kAnswerTimeoutMs, &ignored) != 0;
    threadAnswers_.emplace(thread, answers);
    return answers;
}

MoveOutcome Win32Desktop::MoveWindow(WindowHandle window, const WindowMove& move) {
    const HWND hwnd = ToHwnd(window);
    // Never activated: the keyboard focus stays where the user had it.
    const UINT flags =
        SWP_NOACTIVATE | (move.Resize ? 0 : SWP_NOSIZE) | (move.KeepStacking ? SWP_NOZORDER : 0);
    const auto place = [&](UINT more) {
        ::SetWindowPos(hwnd, HWND_BOTTOM, move.X, move.Y, move.Width, move.Height, flags | more);
    };
    // A synchronous move waits for the window's thread; a hung one would never return.
    if (!ThreadAnswers(window)) {
        place(SWP_ASYNCWINDOWPOS);
        return MoveOutcome::LeftToItsProgram;
    }
    if (MonitorsShareDpi()) {
        place(0);
        return MoveOutcome::Done;
    }
    const UINT before = LayoutDpi(hwnd);
    place(0);
    const UINT after = MonitorDpi(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
    return before != 0 && after != 0 && after != before ? MoveOutcome::OntoAnotherDpi
                                                        : MoveOutcome::Done;
}

bool Win32Desktop::MonitorsShareDpi() {
    // Finding a window's monitor is slow under Wine; with one DPI for all it is not needed.
    if (!monitorsShareDpi_) {
        std::vector<UINT> dpis;
        for (const HMONITOR monitor : DisplayMonitors()) {
            dpis.push_back(MonitorDpi(monitor));
        }
        monitorsShareDpi_ =
            std::adjacent_find(dpis.begin(), dpis.end(), std::not_equal_to<>()) == dpis.end();
    }
    return *monitorsShareDpi_;
}

void Win32Desktop::SetRestorePlace(WindowHandle window, const Rect& restore) {
    const HWND hwnd = ToHwnd(window);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd, &placement) == 0) {
        return;
    }
    const POINT offset =
        WorkspaceOffset(hwnd, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    placement.rcNormalPosition = Offset(ToRECT(restore), -offset.x, -offset.y);
    placement.showCmd = SW_SHOWMINNOACTIVE;
    // The minimised position stays as it is; a window that does not answer is left to do it.
    placement.flags &= WPF_RESTORETOMAXIMIZED;
    if (!ThreadAnswers(window)) {
        placement.flags |= WPF_ASYNCWINDOWPLACEMENT;
    }
    SetWindowPlacement(hwnd, &placement);
}

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

void Win32Desktop::ReapplyWallpaper(const std::wstring& path) {
    std::wstring writable = path;
    // Without SPIF_UPDATEINIFILE: the picture is the one stored, and its value stays as it is.
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, writable.data(), SPIF_SENDWININICHANGE);
}

FileTest Win32Desktop::TestFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return missing ? FileTest::Absent : FileTest::Failed;
    }
    const DWORD excluded = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & excluded) != 0 ? FileTest::Absent : FileTest::Present;
}

bool Win32Desktop::ReadFileBytes(const std::wstring& path, std::string& bytes,
                                 std::wstring& reason) {
    bytes.clear();
    const FileHandle file =
        OwnFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        reason = SystemReason(GetLastError());
        return false;
    }
    // One allocation for the whole file, where its size is plausible.
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file.get(), &size) != 0 && size.QuadPart > 0 &&
        size.QuadPart < kReserveLimit) {
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    }
    char chunk[65536];
    for (DWORD read = 0;; bytes.append(chunk, read)) {
        if (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) == 0) {
            reason = SystemReason(GetLastError());
            bytes.clear();
            return false;
        }
        if (read == 0) {
            return true;
        }
    }
}

Win32Desktop::RunLockOutcome Win32Desktop::TakeRunLock() {
    HANDLE lock = CreateMutexW(nullptr, FALSE, kRunLockName);
    if (lock == nullptr) {
        return {L"CreateMutexW", GetLastError()};
    }
    const DWORD waited = WaitForSingleObject(lock, kRunLockTimeoutMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const DWORD error = waited == WAIT_FAILED ? GetLastError() : waited;
        CloseHandle(lock);
        return {L"WaitForSingleObject", error};
    }
    runLock_.reset(lock);
    return {};
}

void Win32Desktop::ReleaseRunLock() { runLock_.reset(); }

void Win32Desktop::ReportError(const std::wstring& message) {
    ReleaseRunLock();
    MessageBoxW(nullptr, message.c_str(), L"Deskglide", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void Win32Desktop::CloseMainWindow() {
    if (mainWindow_ != WindowHandle{}) {
        DestroyWindow(ToHwnd(mainWindow_));
    }
}
