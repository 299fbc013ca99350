#pragma once

#include <functional>
#include <optional>
#include <unordered_map>

#include "platform/desktop.h"
#include "platform/main_window.h"
#include "platform/win32_handles.h"

enum class WindowRun { Ran, OtherRunBusy, NoWindow };

// The system's own words for a Win32 error number, in the user's language, without a line end.
std::wstring SystemReason(DWORD error);

// The desktop as Win32 provides it.
class Win32Desktop : public Desktop {
  public:
    std::wstring CommandLineArguments() override;
    std::wstring ProgramDirectory() override;
    std::wstring UserListDirectory() override;
    std::wstring DecimalSeparator() override;
    std::wstring LowerCase(std::wstring_view text) override;
    bool DecodeText(std::string_view bytes, TextEncoding encoding, std::wstring& text) override;
    Rect GetWorkArea() override;
    void EnumWindows(const std::function<bool(WindowHandle)>& callback) override;
    WindowFacts ReadWindow(WindowHandle window) override;
    WindowPlace ReadPlace(WindowHandle window, bool withFrame) override;
    std::optional<RestorePlace> ReadRestorePlace(WindowHandle window) override;
    WindowDpi ReadDpi(WindowHandle window, bool withAwareness) override;
    MonitorArea MonitorNearest(const Rect& rect) override;
    std::vector<MonitorArea> Monitors() override;
    WindowHandle ShellWindow() override;
    MoveOutcome MoveWindow(WindowHandle window, const WindowMove& move) override;
    bool ReadValue(RegistryKey root, const std::wstring& subkey, const std::wstring& name,
                   RegistryValue& value) override;
    void WriteValue(RegistryKey root, const std::wstring& subkey, const std::wstring& name,
                    const RegistryValue& value) override;
    std::optional<ShownWallpaper> WallpaperShown() override;
    void ReapplyWallpaper(const std::wstring& path) override;
    FileTest TestFile(const std::wstring& path) override;
    bool ReadFileBytes(const std::wstring& path, std::string& bytes, std::wstring& reason) override;
    WindowProgram ReadProgram(WindowHandle window) override;
    void ReportError(const std::wstring& message) override;
    void ShowPlan(const std::wstring& text) override;
    void CloseMainWindow() override;

    // Delivers the window's load event to a hidden stand-in for it; unless the load event
    // closed that, opens the window, shows it with `showCommand` (a ShowWindow command) and
    // returns when it has been closed. Runs in one user session never overlap: the load event
    // waits for any other run's to end. When that takes too long or fails, or a window cannot be
    // made, nothing is done and the user is told why.
    WindowRun RunMainWindow(const MainWindowContent& content, int showCommand,
                            const std::function<void(WindowHandle)>& onLoad);

  private:
    // Taking the run lock: taken when `failedCall` is null; else that call failed with `error`,
    // which is WAIT_TIMEOUT when another run kept the lock too long.
    struct RunLockOutcome {
        const wchar_t* failedCall = nullptr;
        DWORD error = ERROR_SUCCESS;
    };
    // The session-wide lock that keeps runs from overlapping. Taking it waits a bounded time;
    // a lock left by a run that died counts as free.
    RunLockOutcome TakeRunLock();
    // Lets the next run go on; called before anything is shown, so that no run waits on a user.
    void ReleaseRunLock();

    // Whether the window's thread answers messages; a hung one gets asynchronous moves.
    bool ThreadAnswers(WindowHandle window);
    // Shows a dry run's plan: on the standard output where that is a file or a pipe, else in a
    // window of its own until the user closes it.
    void ShowPlanNow();
    // Gives a minimised or maximised window a new restore place; it stays as it is.
    void SetRestorePlace(HWND window, const WindowMove& move, bool answers);

    // What was read last of a window, kept for its later reads and its move.
    struct WindowRead {
        HWND window = nullptr;
        DWORD style = 0;
        DWORD exStyle = 0;
        std::optional<WINDOWPLACEMENT> placement;
    };

    WindowHandle mainWindow_{};
    HeldMutex runLock_;  // while this run holds the lock
    std::unordered_map<unsigned long, bool> threadAnswers_;
    WindowRead read_;
    std::optional<std::wstring> plan_;  // a dry run's, shown once the run is over
};
