#include "platform/win32_desktop.h"

#include <windows.h>

#include "platform/win32_handles.h"

namespace {

// In the session namespace: one lock per user session, as each session has its own desktop.
constexpr wchar_t kRunLockName[] = L"Local\\Deskglide.Run";
// Far longer than any run takes, short enough that a stuck lock is soon noticed.
constexpr DWORD kRunLockTimeoutMs = 30000;

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
