#pragma once

#include <windows.h>

#include <ostream>
#include <string>

// What the information window's label says, word for word.
inline constexpr wchar_t kDescription[] =
    L"A small program that makes it possible to scroll all the windows and the wallpaper. If you "
    L"\"lost\" the windows it is possible to move them back to the screen. The program also makes "
    L"it possible to only move some windows or to exclude some windows.";

// The height the description needs with the program's font at `dpi`, wrapped at `width`.
int DescriptionHeight(UINT dpi, int width);

inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }
inline void PrintTo(const POINT& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

// A private folder holding a copy of deskglide.exe, so that list files beside it belong to
// one test only. Removed with everything in it at the end of the test.
class Sandbox {
  public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring Exe() const { return folder_ + L"\\deskglide.exe"; }
    void WriteFile(const std::wstring& name, const std::string& bytes) const;

  private:
    std::wstring folder_;
};

// A top-level window owned by the test's thread; destroyed at the end of the test.
class TestWindow {
  public:
    TestWindow(const std::wstring& title, int x, int y, int width, int height, bool visible = true);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }
    POINT Position() const;

  private:
    HWND window_;
};

// A window whose thread stops pumping messages once it is created, as a hung program's does.
class HungWindow {
  public:
    HungWindow(const std::wstring& title, int x, int y);
    ~HungWindow();
    HungWindow(const HungWindow&) = delete;
    HungWindow& operator=(const HungWindow&) = delete;

    HWND Handle() const { return window_; }

  private:
    static DWORD WINAPI Thread(void* self);
    std::wstring title_;
    int x_, y_;
    HWND window_ = nullptr;
    HANDLE created_, release_, thread_;
};

struct RunResult {
    DWORD exitCode = 0;
    bool timedOut = false;
    DWORD elapsedMs = 0;
};

// A started deskglide.exe. The test's windows keep answering while the test waits on it.
class Process {
  public:
    Process(const std::wstring& exe, const std::wstring& arguments);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Waits for the process to end, pumping the test's messages; kills it on time-out.
    RunResult Wait(DWORD timeoutMs);
    // The first top-level window of the process whose class is `className`, waiting for it.
    HWND WaitForWindow(const std::wstring& className, DWORD timeoutMs);
    DWORD Id() const { return info_.dwProcessId; }

  private:
    PROCESS_INFORMATION info_ = {};
    DWORD started_ = 0;
};

// Waits for the process's error box, checks its caption, closes it and returns its text; empty
// when no box captioned "Deskglide" appeared.
std::wstring CloseErrorBox(Process& process, DWORD timeoutMs = 10000);

// Runs deskglide.exe and waits for it to end.
RunResult RunDeskglide(const std::wstring& exe, const std::wstring& arguments,
                       DWORD timeoutMs = 20000);

// Handles pending messages of the test's thread, for about `ms` milliseconds.
void PumpMessages(DWORD ms);
std::wstring WindowText(HWND window);
// The text of a window of another process, however long.
std::wstring LongWindowText(HWND window);
std::wstring ClassName(HWND window);
RECT WorkArea();
