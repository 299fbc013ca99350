#include "harness.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32_dpi.h"

namespace {

constexpr wchar_t kTestWindowClass[] = L"DeskglideTestWindow";

// Without this the system would scale the other program's sizes to 96 DPI for the tests.
const bool DpiAware = SetProcessDPIAware() != FALSE;

std::wstring TestExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

void RegisterTestWindowClass() {
    static bool registered = false;
    if (registered) {
        return;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kTestWindowClass;
    RegisterClassExW(&windowClass);
    registered = true;
}

HWND CreatePlainWindow(const std::wstring& title, int x, int y, int width, int height,
                       bool visible) {
    RegisterTestWindowClass();
    const DWORD style = WS_POPUP | WS_BORDER | (visible ? WS_VISIBLE : 0);
    return CreateWindowExW(0, kTestWindowClass, title.c_str(), style, x, y, width, height, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolder(path);
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

Sandbox::Sandbox() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    folder_ = std::wstring(temp) + L"deskglide-test-" + std::to_wstring(GetCurrentProcessId()) +
              L"-" + std::to_wstring(++counter);
    CreateDirectoryW(folder_.c_str(), nullptr);
    const std::wstring source = TestExeFolder() + L"\\deskglide.exe";
    if (!CopyFileW(source.c_str(), Exe().c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy deskglide.exe into the sandbox";
    }
}

Sandbox::~Sandbox() { RemoveFolder(folder_); }

void Sandbox::WriteFile(const std::wstring& name, const std::string& bytes) const {
    const std::wstring path = folder_ + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

TestWindow::TestWindow(const std::wstring& title, int x, int y, int width, int height, bool visible)
    : window_(CreatePlainWindow(title, x, y, width, height, visible)) {
    PumpMessages(20);
}

TestWindow::~TestWindow() { DestroyWindow(window_); }

POINT TestWindow::Position() const {
    PumpMessages(20);
    RECT rect = {};
    GetWindowRect(window_, &rect);
    return {rect.left, rect.top};
}

HungWindow::HungWindow(const std::wstring& title, int x, int y)
    : title_(title),
      x_(x),
      y_(y),
      created_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Thread, this, 0, nullptr)) {
    WaitForSingleObject(created_, 5000);
}

HungWindow::~HungWindow() {
    SetEvent(release_);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(created_);
    CloseHandle(release_);
}

DWORD WINAPI HungWindow::Thread(void* param) {
    auto* self = static_cast<HungWindow*>(param);
    self->window_ = CreatePlainWindow(self->title_, self->x_, self->y_, 200, 100, true);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    SetEvent(self->created_);
    // Hung: no message is handled until the test lets go.
    WaitForSingleObject(self->release_, INFINITE);
    DestroyWindow(self->window_);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    return 0;
}

Process::Process(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    started_ = GetTickCount();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info_)) {
        ADD_FAILURE() << "cannot start deskglide.exe, error " << GetLastError();
    }
}

Process::~Process() {
    if (info_.hProcess != nullptr) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

RunResult Process::Wait(DWORD timeoutMs) {
    RunResult result;
    if (info_.hProcess == nullptr) {
        result.timedOut = true;
        return result;
    }
    const DWORD deadline = GetTickCount() + timeoutMs;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = now >= deadline ? 0 : deadline - now;
        const DWORD woke = MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, left, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) {
            break;
        }
        if (woke == WAIT_TIMEOUT) {
            result.timedOut = true;
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
            break;
        }
        PumpMessages(0);
    }
    result.elapsedMs = GetTickCount() - started_;
    GetExitCodeProcess(info_.hProcess, &result.exitCode);
    return result;
}

HWND Process::WaitForWindow(const std::wstring& className, DWORD timeoutMs) {
    struct Search {
        DWORD process;
        const std::wstring* className;
        HWND found;
    } search{info_.dwProcessId, &className, nullptr};
    const DWORD deadline = GetTickCount() + timeoutMs;
    while (search.found == nullptr && GetTickCount() < deadline) {
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == s->process && ClassName(window) == *s->className &&
                    IsWindowVisible(window)) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            PumpMessages(50);
        }
    }
    return search.found;
}

std::wstring CloseErrorBox(Process& process, DWORD timeoutMs) {
    const HWND box = process.WaitForWindow(L"#32770", timeoutMs);
    if (box == nullptr || WindowText(box) != L"Deskglide") {
        ADD_FAILURE() << "no error box captioned Deskglide";
        return {};
    }
    // The message text is the dialog's static control 0xFFFF.
    const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_CLOSE, 0, 0);
    return text;
}

RunResult RunDeskglide(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs) {
    Process process(exe, arguments);
    return process.Wait(timeoutMs);
}

void PumpMessages(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (ms > 0) {
            Sleep(5);
        }
    } while (GetTickCount() < until);
}

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

std::wstring LongWindowText(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::vector<wchar_t> text(length + 1);
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return std::wstring(text.data(), copied);
}

int DescriptionHeight(UINT dpi, int width) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateMessageFont(dpi);
    HGDIOBJ old = SelectObject(screen, font);
    RECT bounds = {0, 0, width, 0};
    // The flags a static label draws its text with.
    DrawTextW(screen, kDescription, -1, &bounds,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return bounds.right > width ? INT_MAX : bounds.bottom - bounds.top;
}
