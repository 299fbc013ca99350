// The real deskglide.exe on a real desktop: what only the platform does. These move windows and
// write the desktop settings, so they run under Wine, or on a Windows test machine only when
// DESKGLIDE_REAL_DESKTOP=1 is set.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace {

enum class Kind { Plain, Hung, Maximised, Notepad };
struct TestWindow {
    Kind kind;
    const wchar_t* title;
    POINT at, expected;
};
enum class ListKind { None, Plain, Hidden, Folder, Locked };
struct Row {
    const char* name;
    const wchar_t* args;
    std::vector<TestWindow> windows = {};
    ListKind listKind = ListKind::None;
    const wchar_t* list = L"exclude.txt";
    std::string listBytes = {};
    const char* originY = nullptr;  // stored before the run, as ANSI bytes without a NUL
    const wchar_t* originYAfter = nullptr;
    DWORD status = 0;
    const wchar_t* box = nullptr;  // what the error box says, in part
    int runs = 1;                  // started at once
};

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
constexpr wchar_t kInfo[] =
    L"A small program that makes it possible to scroll all the windows and the wallpaper. If you "
    L"\"lost\" the windows it is possible to move them back to the screen. The program also makes "
    L"it possible to only move some windows or to exclude some windows.";

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

void Pump(DWORD ms) {
    for (const DWORD until = GetTickCount() + ms; GetTickCount() <= until; Sleep(5)) {
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&m);
        }
    }
}

HWND Create(const wchar_t* title, POINT at, DWORD style = WS_POPUP | WS_BORDER) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"DeskglideTest";
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, L"DeskglideTest", title, style | WS_VISIBLE, at.x, at.y, 200, 150,
                           nullptr, nullptr, nullptr, nullptr);
}

DWORD WINAPI HungThread(void* param) {
    Create(L"Deskglide hung", {300, 300});
    SetEvent(param);
    Sleep(INFINITE);  // never answers again
    return 0;
}

// The first visible top-level window of `process` whose class is `className`.
HWND WindowOf(DWORD process, const wchar_t* className) {
    for (int i = 0; i < 200; ++i, Pump(50)) {
        for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD owner = 0;
            wchar_t name[64] = {};
            GetWindowThreadProcessId(w, &owner);
            GetClassNameW(w, name, 64);
            if (owner == process && IsWindowVisible(w) && std::wstring(name) == className) {
                return w;
            }
        }
    }
    return nullptr;
}

PROCESS_INFORMATION Start(std::wstring commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    EXPECT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &started));
    return started;
}

// The run's exit status, pumping the test's own windows while it waits; a run that does not end
// in 20 s is a hang.
DWORD Finish(const PROCESS_INFORMATION& run) {
    for (const DWORD until = GetTickCount() + 20000; GetTickCount() < until;) {
        if (MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) {
            DWORD status = 0;
            GetExitCodeProcess(run.hProcess, &status);
            return status;
        }
        Pump(0);
    }
    TerminateProcess(run.hProcess, 99);
    return 99;
}

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

std::optional<std::wstring> Origin() {
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"WallpaperOriginY", RRF_RT_REG_SZ, nullptr,
                     text, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return text;
}

// The information window: its size and text at the desktop's DPI, a screenshot for people to look
// at, and the process ends with status 0 when it is closed.
void CheckInformationWindow(const PROCESS_INFORMATION& run) {
    const HWND window = WindowOf(run.dwProcessId, L"DeskglideMain");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Text(window), L"Deskglide");
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client = {};
    RECT label = {};
    const HWND labelWindow = FindWindowExW(window, nullptr, L"Static", nullptr);
    GetClientRect(window, &client);
    GetWindowRect(labelWindow, &label);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&label), 2);
    EXPECT_EQ(client.right, MulDiv(310, dpi, 96));
    EXPECT_EQ(client.bottom, MulDiv(92, dpi, 96));
    EXPECT_EQ(label.left, MulDiv(2, dpi, 96));
    EXPECT_EQ(label.right - label.left, MulDiv(305, dpi, 96));
    EXPECT_EQ(Text(labelWindow), kInfo);
    if (UnderWine()) {
        // X's own tools take the picture; the last step's new name says it is complete.
        Pump(500);
        RECT frame = {};
        GetWindowRect(window, &frame);
        InflateRect(&frame, 12, 12);
        const std::wstring name = std::wstring(DESKGLIDE_ARTIFACTS L"/info-window") +
                                  (dpi == 96 ? L"" : L"-" + std::to_wstring(dpi) + L"dpi");
        const std::wstring crop = std::to_wstring(frame.right - frame.left) + L"x" +
                                  std::to_wstring(frame.bottom - frame.top) + L"+" +
                                  std::to_wstring(frame.left) + L"+" + std::to_wstring(frame.top);
        const std::wstring png = name + L".png";
        CreateDirectoryW(DESKGLIDE_ARTIFACTS, nullptr);
        DeleteFileW(png.c_str());
        Start(L"Z:\\bin\\sh -c \"cd " + name.substr(0, name.rfind(L'/')).substr(2) +
              L" && f=" + name.substr(name.rfind(L'/') + 1) + L" && import -window root $f-screen.png" +
              L" && convert $f-screen.png -crop " + crop + L" +repage $f.part && mv $f.part $f.png\"");
        for (int i = 0; i < 200 && GetFileAttributesW(png.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
            Pump(100);
        }
        EXPECT_NE(GetFileAttributesW(png.c_str()), INVALID_FILE_ATTRIBUTES) << "no screenshot";
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
}

class Exe : public testing::TestWithParam<Row> {};

TEST_P(Exe, Runs) {
    if (!UnderWine() && GetEnvironmentVariableW(L"DESKGLIDE_REAL_DESKTOP", nullptr, 0) == 0) {
        GTEST_SKIP() << "moves real windows: runs under Wine, or with DESKGLIDE_REAL_DESKTOP=1";
    }
    const Row& row = GetParam();
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring sandbox = folder + std::wstring(L"deskglide-") + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(sandbox.c_str(), nullptr);
    const std::wstring exe = sandbox + L"\\deskglide.exe";
    wchar_t tests[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, tests, MAX_PATH);
    const std::wstring built = std::wstring(tests).substr(0, std::wstring(tests).rfind(L'\\'));
    ASSERT_TRUE(CopyFileW((built + L"\\deskglide.exe").c_str(), exe.c_str(), FALSE));
    const std::wstring listPath = sandbox + L"\\" + row.list;
    HANDLE list = INVALID_HANDLE_VALUE;
    if (row.listKind == ListKind::Folder) {
        CreateDirectoryW(listPath.c_str(), nullptr);
    } else if (row.listKind != ListKind::None) {
        list = CreateFileW(listPath.c_str(), GENERIC_WRITE, row.listKind == ListKind::Locked ? 0 : FILE_SHARE_READ, nullptr, CREATE_ALWAYS, row.listKind == ListKind::Hidden ? FILE_ATTRIBUTE_HIDDEN : 0, nullptr);
        DWORD written = 0;
        WriteFile(list, row.listBytes.data(), static_cast<DWORD>(row.listBytes.size()), &written, nullptr);
    }
    HKEY key = nullptr;
    RegCreateKeyW(HKEY_CURRENT_USER, kDesktop, &key);
    const std::optional<std::wstring> savedOrigin = Origin();
    if (row.originY != nullptr) {
        RegSetValueExA(key, "WallpaperOriginY", 0, REG_SZ, reinterpret_cast<const BYTE*>(row.originY), static_cast<DWORD>(strlen(row.originY)));
    }

    std::vector<HWND> windows;
    std::vector<PROCESS_INFORMATION> others;
    for (const TestWindow& w : row.windows) {
        HWND window = nullptr;
        if (w.kind == Kind::Notepad) {
            others.push_back(Start(L"notepad.exe"));
            window = WindowOf(others.back().dwProcessId, L"Notepad");
            SetWindowPos(window, nullptr, w.at.x, w.at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        } else if (w.kind == Kind::Hung) {
            HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
            CloseHandle(CreateThread(nullptr, 0, HungThread, created, 0, nullptr));
            WaitForSingleObject(created, 5000);
            CloseHandle(created);
            window = FindWindowW(L"DeskglideTest", w.title);
        } else {
            window = Create(w.title, w.at, w.kind == Kind::Maximised ? WS_OVERLAPPEDWINDOW : WS_POPUP | WS_BORDER);
            if (w.kind == Kind::Maximised) ShowWindow(window, SW_MAXIMIZE);
        }
        windows.push_back(window);
    }
    Pump(100);

    std::vector<PROCESS_INFORMATION> runs;
    for (int i = 0; i < row.runs; ++i) {
        runs.push_back(Start(L"\"" + exe + L"\" " + row.args));
    }
    if (row.box != nullptr) {
        const HWND box = WindowOf(runs[0].dwProcessId, L"#32770");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(Text(box), L"Deskglide");
        EXPECT_NE(Text(GetDlgItem(box, 0xFFFF)).find(row.box), std::wstring::npos) << Text(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_CLOSE, 0, 0);
    } else if (std::wstring(row.args).find_first_of(L"gvh") == std::wstring::npos) {
        CheckInformationWindow(runs[0]);
    }
    for (const auto& run : runs) {
        EXPECT_EQ(Finish(run), row.status);
    }
    Pump(100);
    for (size_t i = 0; i < windows.size(); ++i) {
        RECT rect = {};
        GetWindowRect(windows[i], &rect);
        EXPECT_EQ(rect.left, row.windows[i].expected.x) << row.windows[i].title;
        EXPECT_EQ(rect.top, row.windows[i].expected.y) << row.windows[i].title;
    }
    if (row.originYAfter != nullptr) {
        EXPECT_EQ(Origin(), row.originYAfter);
    }

    for (auto& other : others) {
        TerminateProcess(other.hProcess, 0);
    }
    if (savedOrigin) RegSetValueExW(key, L"WallpaperOriginY", 0, REG_SZ, reinterpret_cast<const BYTE*>(savedOrigin->c_str()), static_cast<DWORD>((savedOrigin->size() + 1) * 2)); else RegDeleteValueW(key, L"WallpaperOriginY");
    RegCloseKey(key);
    CloseHandle(list);
    for (HWND w : windows) DestroyWindow(w);
    DeleteFileW(exe.c_str());
    DeleteFileW(listPath.c_str());
    RemoveDirectoryW(listPath.c_str());
    RemoveDirectoryW(sandbox.c_str());
}

const Row kRows[] = {
    {"MovesOwnAndOtherProgramsWindows", L"v 30", {{Kind::Plain, L"Deskglide A", {100, 100}, {100, 130}}, {Kind::Notepad, L"Notepad", {200, 150}, {200, 180}}}},
    {"GathersIntoTheRealWorkArea", L"g", {{Kind::Plain, L"Deskglide A", {900, 600}, {824, 598}}, {Kind::Plain, L"Deskglide B", {-30, -20}, {0, 0}}}},
    {"StoresTheOriginAsText", L"vw 25", {}, ListKind::None, L"", {}, "12", L"37"},
    {"AHiddenListIsNoList", L"ve 30", {{Kind::Plain, L"Deskglide A", {100, 100}, {100, 130}}}, ListKind::Hidden, L"exclude.txt", "Deskglide"},
    {"AFolderIsNoList", L"vi 30", {{Kind::Plain, L"Deskglide A", {100, 100}, {100, 130}}}, ListKind::Folder, L"include.txt"},
    {"ALockedListIsEmpty", L"vi 30", {{Kind::Plain, L"Deskglide A", {100, 100}, {100, 100}}}, ListKind::Locked, L"include.txt", "Deskglide"},
    {"AMarkedListIsUtf8", L"vi 30", {{Kind::Plain, L"\u00C4rger", {100, 100}, {100, 130}}, {Kind::Plain, L"Deskglide A", {150, 150}, {150, 150}}}, ListKind::Plain, L"include.txt", "\xEF\xBB\xBF\xC3\xA4rg"},
    {"AMarkedListIsUtf16", L"vi 30", {{Kind::Plain, L"\u00C4rger", {100, 100}, {100, 130}}, {Kind::Plain, L"Deskglide A", {150, 150}, {150, 150}}}, ListKind::Plain, L"include.txt", std::string("\xFF\xFE\xE4\0r\0", 6)},
    {"ReportsAnOverflowInABox", L"v 3000000000", {}, ListKind::None, L"", {}, nullptr, nullptr, 2, L"3000000000"},
    {"ReportsATextThatIsNoNumberInABox", L"vw", {}, ListKind::None, L"", {}, "abc", L"abc", 3, L"\"abc\" is not a number"},
    {"InformationWindow", L""},
    {"AHungWindowCannotStopTheRun", L"v 10", {{Kind::Hung, L"Deskglide hung", {300, 300}, {300, 300}}, {Kind::Plain, L"Deskglide A", {100, 100}, {100, 110}}}},
    {"Cp932ExcludeEntryProtectsItsWindow", L"ve 30", {{Kind::Plain, L"\u7121\u984C - \u30E1\u30E2\u5E33", {100, 100}, {100, 100}}, {Kind::Plain, L"Deskglide A", {150, 150}, {150, 180}}}, ListKind::Plain, L"exclude.txt", "abc\r\n\x83\x81\x83\x82\x92\xA0\r\n"},
    {"Cp932IncludeEntrySelectsItsWindow", L"vi 30", {{Kind::Plain, L"\u8868\u8A08\u7B97", {100, 100}, {100, 130}}, {Kind::Plain, L"Deskglide A", {150, 150}, {150, 150}}}, ListKind::Plain, L"include.txt", "\x95\x5C"},
};
INSTANTIATE_TEST_SUITE_P(Wine, Exe, testing::ValuesIn(kRows), [](const auto& info) { return std::string(info.param.name); });

}  // namespace
