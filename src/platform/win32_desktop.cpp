#include "platform/win32_desktop.h"

#include <windows.h>
// After windows.h, which it needs; only its types and constants are used.
#include <dwmapi.h>

#include <cstring>
#include <exception>
#include <vector>

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

// Loaded at run time, so that the exe keeps importing only what every Windows version has.
DwmGetWindowAttributeFn DwmGetWindowAttributeFunction() {
    HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (dwm == nullptr) {
        return nullptr;
    }
    // GetProcAddress returns a generic pointer; the cast to the real signature is the point.
    return reinterpret_cast<DwmGetWindowAttributeFn>(
        reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")));
}

// How long a window may take to answer before its move is left to its own thread.
constexpr UINT kAnswerTimeoutMs = 200;

// Files larger than this are read without reserving their size first.
constexpr LONGLONG kReserveLimit = 256LL * 1024 * 1024;

// In the session namespace: one lock per user session, as each session has its own desktop.
constexpr wchar_t kRunLockName[] = L"Local\\Deskglide.Run";
// Far longer than any run takes, short enough that a stuck lock is soon noticed.
constexpr DWORD kRunLockTimeoutMs = 30000;

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

// Multi-byte text in `codePage` as the program's text.
std::wstring Widen(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), length);
    return text;
}

}  // namespace

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
            std::wstring full(path.data(), length);
            const auto separator = full.find_last_of(L"\\/");
            return separator == std::wstring::npos ? std::wstring() : full.substr(0, separator);
        }
        path.resize(path.size() * 2);
    }
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

std::wstring Win32Desktop::FromAnsi(std::string_view bytes) { return Widen(CP_ACP, bytes); }

std::string Win32Desktop::ToAnsi(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring Win32Desktop::FromUnicode(std::string_view bytes, UnicodeForm form) {
    if (form == UnicodeForm::Utf16Le) {
        // Windows' own text is UTF-16 LE: the units are taken as they stand.
        std::wstring text(bytes.size() / 2, L'\0');
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
        if (bytes.size() % 2 != 0) {
            text += L'\xFFFD';
        }
        return text;
    }
    return Widen(CP_UTF8, bytes);  // malformed sequences become U+FFFD
}

Rect Win32Desktop::GetWorkArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return ToRect(area);
}

void Win32Desktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    EnumState state{&callback, nullptr};
    ::EnumWindows(EnumTrampoline, reinterpret_cast<LPARAM>(&state));
    if (state.error) {
        std::rethrow_exception(state.error);
    }
}

bool Win32Desktop::IsWindowVisible(WindowHandle window) {
    return ::IsWindowVisible(ToHwnd(window)) != 0;
}

int Win32Desktop::GetWindowTextA(WindowHandle window, char* buffer, int maxCount) {
    return ::GetWindowTextA(ToHwnd(window), buffer, maxCount);
}

Rect Win32Desktop::GetWindowRect(WindowHandle window) {
    RECT rect = {};
    ::GetWindowRect(ToHwnd(window), &rect);
    return ToRect(rect);
}

WindowState Win32Desktop::GetWindowState(WindowHandle window) {
    WindowState state;
    state.Maximised = IsZoomed(ToHwnd(window)) != 0;
    state.Minimised = IsIconic(ToHwnd(window)) != 0;
    state.Topmost = (GetWindowLongW(ToHwnd(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return state;
}

bool Win32Desktop::GetVisibleFrame(WindowHandle window, Rect& frame) {
    static const DwmGetWindowAttributeFn getAttribute = DwmGetWindowAttributeFunction();
    if (getAttribute == nullptr) {
        return false;
    }
    RECT bounds = {};
    if (FAILED(getAttribute(ToHwnd(window), DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds))) {
        return false;
    }
    frame = ToRect(bounds);
    return true;
}

MonitorArea Win32Desktop::MonitorNearest(const Rect& rect) {
    const RECT bounds = ToRECT(rect);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &info);
    return {ToRect(info.rcMonitor), ToRect(info.rcWork)};
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

void Win32Desktop::SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                                int32_t cx, int32_t cy, unsigned flags) {
    // A synchronous move waits for the window's thread; a hung one would never return.
    if (!ThreadAnswers(window)) {
        flags |= SWP_ASYNCWINDOWPOS;
    }
    ::SetWindowPos(ToHwnd(window), ToHwnd(insertAfter), x, y, cx, cy, flags);
}

long Win32Desktop::RegOpenKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyA(ToHkey(root), subkey.c_str(), &opened);
    key = static_cast<RegistryKey>(reinterpret_cast<std::uintptr_t>(opened));
    return status;
}

long Win32Desktop::RegCreateKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) {
    HKEY created = nullptr;
    const LONG status = ::RegCreateKeyA(ToHkey(root), subkey.c_str(), &created);
    key = static_cast<RegistryKey>(reinterpret_cast<std::uintptr_t>(created));
    return status;
}

long Win32Desktop::RegQueryValueExA(RegistryKey key, const std::string& name, unsigned long& type,
                                    unsigned char* data, unsigned long& size) {
    DWORD valueType = type;
    DWORD valueSize = size;
    const LONG status =
        ::RegQueryValueExA(ToHkey(key), name.c_str(), nullptr, &valueType, data, &valueSize);
    type = valueType;
    size = valueSize;
    return status;
}

long Win32Desktop::RegSetValueExA(RegistryKey key, const std::string& name, unsigned long type,
                                  const unsigned char* data, unsigned long size) {
    return ::RegSetValueExA(ToHkey(key), name.c_str(), 0, type, data, size);
}

long Win32Desktop::RegCloseKey(RegistryKey key) { return ::RegCloseKey(ToHkey(key)); }

void Win32Desktop::SetDeskWallpaper(const std::string& path, unsigned flags) {
    std::string writable = path;
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, writable.data(), flags);
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

bool Win32Desktop::ReadFileBytes(const std::wstring& path, std::string& bytes) {
    bytes.clear();
    const FileHandle file =
        OwnFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    // One allocation for the whole file, where its size is plausible.
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file.get(), &size) != 0 && size.QuadPart > 0 &&
        size.QuadPart < kReserveLimit) {
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    }
    char chunk[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) != 0) && read > 0) {
        bytes.append(chunk, read);
    }
    if (!ok) {
        bytes.clear();
    }
    return ok;
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
