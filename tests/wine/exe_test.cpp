// The real deskglide.exe on a real desktop, for what only the platform does. These move windows
// and write the desktop settings, so they run only with DESKGLIDE_REAL_DESKTOP=1: set by
// scripts/private-wine on the private Wine desktop, or by hand on a Windows test machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32_desktop.h"
#include "run/run_sequence.h"

namespace {

// Maximised and minimised ones are captioned, except a borderless one maximised and then sized
// to the whole screen (full screen).
enum class Kind {
    Plain,
    Hung,
    Maximised,
    FullScreen,
    MaximisedFullScreen,
    Minimised,
    MinimisedFromMaximised,
    Notepad,
    MinimisedNotepad
};
struct TestWindow {
    Kind kind;
    const wchar_t* title;
    POINT at, expected;
    DWORD style = WS_POPUP, exStyle = 0;  // layered ones are wholly see-through
    LONG width = 200;                     // 150 high
    SIZE size = {};                       // its size afterwards, where given
    // Where the user gets it back, restoring it once (minimised from maximised: maximised, and
    // then once more), where given.
    std::optional<POINT> restored = {};
};
// Where the window was when the run started.
constexpr POINT kKept = {LONG_MIN, LONG_MIN};
enum class File { Plain, Hidden, Folder, Locked };
struct Row {
    const char* name = "";
    const wchar_t* args = L"";
    std::vector<TestWindow> windows = {};
    const wchar_t* list = nullptr;  // a list file beside the exe, of these bytes
    std::string bytes = {};
    File file = File::Plain;
    const wchar_t* originY = nullptr;  // stored before the run: "dword:N" or text without a NUL
    const wchar_t* originYAfter = nullptr;
    const wchar_t* wallpaper = nullptr;  // the wallpaper path, kept by the run
    bool focus = false;                  // the first window has the focus, and keeps it
    DWORD status = 0;
    const wchar_t* box = nullptr;      // what the error box says; LIST stands for the list's path
    DWORD reason = 0;                  // the box ends with the system's words for this error
    bool lockDenied = false;           // another user's run holds the lock
    int runs = 1;                      // started at once
    WORD show = SW_SHOWNORMAL;         // the show command it is started with
    bool help = false;                 // the line asks for help: the information window opens
    WPARAM key = 0;                    // closes the information window with this key, not WM_CLOSE
    bool link = false;                 // started through a symbolic link to it in another folder
    bool userFolder = false;           // the list is in %APPDATA%\Deskglide, not beside the exe
    const wchar_t* appData = nullptr;  // %APPDATA% for the run, where not the user's own
    // Under Wine: the wallpaper class's answer (wallpaper_standin.cpp; "spotlight" first: the
    // background type is Windows spotlight), and whether the desktop then shows kShown re-applied.
    const wchar_t* shown = nullptr;
    bool reapplied = false;
    // On the two-head desktop: its monitors, the primary first, and those the run finds (when a
    // monitor was unplugged after the windows opened); their strip off the work area at the top.
    std::vector<RECT> heads = {}, headsAtRun = {};
    bool topStrip = false;
    // Run by this process on its own windows, through the platform: Wine sets the placements
    // of a program's own windows only.
    bool here = false;
    // A dry run's plan holds this (LIST stands for the list's path): written to a file, or
    // shown in its window, which Esc closes.
    const wchar_t* plan = nullptr;
    bool toFile = false;
};

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kWallpapersKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Wallpapers";
constexpr wchar_t kShown[] = L"C:\\shown.bmp";
constexpr COLORREF kShownColour = 0x404040;

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version"); }

void Pump(DWORD ms) {
    for (const DWORD until = GetTickCount() + ms; GetTickCount() <= until; Sleep(5)) {
        for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&m);
        }
    }
}

HWND Create(const wchar_t* title, POINT at, DWORD style, SIZE size = {200, 150}, DWORD ex = 0) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"DeskglideTest";
    RegisterClassW(&windowClass);
    return CreateWindowExW(ex, L"DeskglideTest", title, style, at.x, at.y, size.cx, size.cy,
                           nullptr, nullptr, nullptr, nullptr);
}

DWORD WINAPI Hang(void*) {  // a window whose thread never handles a message again
    ShowWindow(Create(L"Hung", {300, 300}, WS_POPUP), SW_SHOW);
    Sleep(INFINITE);
    return 0;
}

// The visible top-level window of that class and title, waiting 10 s for it.
HWND Await(const wchar_t* className, const wchar_t* title = nullptr) {
    HWND found = nullptr;
    for (int i = 0; i < 200 && !IsWindowVisible(found = FindWindowW(className, title)); ++i) {
        Pump(50);
    }
    return found;
}

// With its standard output into `out` where given (none when null), as from a shortcut.
PROCESS_INFORMATION Start(std::wstring commandLine, WORD show = SW_SHOWNORMAL,
                          std::optional<HANDLE> out = {}) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW | (out ? STARTF_USESTDHANDLES : 0);
    startup.wShowWindow = show;
    startup.hStdOutput = out.value_or(nullptr);
    PROCESS_INFORMATION started = {};
    CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, out.value_or(nullptr) != nullptr,
                   0, nullptr, nullptr, &startup, &started);
    return started;
}

// The exit status; the test's windows answer while it waits. A run still going after 20 s hangs,
// and is ended with status 99.
DWORD Finish(const PROCESS_INFORMATION& run) {
    DWORD status = 99;
    for (int i = 0; i < 400 && MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, 50,
                                                         QS_ALLINPUT) != WAIT_OBJECT_0;
         ++i, Pump(0)) {
    }
    TerminateProcess(run.hProcess, 99);
    GetExitCodeProcess(run.hProcess, &status);
    return status;
}

// The Unix name of a path, under Wine (the test's paths are ASCII).
std::wstring UnixName(const std::wstring& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* name = convert(path.c_str());
    const std::wstring wide(name, name + std::strlen(name));
    HeapFree(GetProcessHeap(), 0, name);
    return wide;
}

std::wstring Text(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring Stored(const wchar_t* name) {
    wchar_t text[MAX_PATH] = L"";
    DWORD size = sizeof text, type = 0;
    const LONG read = RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, name, RRF_RT_ANY | RRF_NOEXPAND,
                                   &type, text, &size);
    LONG number = 0;
    std::memcpy(&number, text, sizeof number);
    const std::wstring prefix = type == REG_EXPAND_SZ ? L"expand:" : L"";
    return read == ERROR_FILE_NOT_FOUND ? L"missing"
           : type == REG_DWORD          ? L"dword:" + std::to_wstring(number)
                                        : prefix + text;
}

// Stores "dword:N" as a REG_DWORD, "expand:text" as REG_EXPAND_SZ, other text as REG_SZ; text
// without a NUL; "missing", as Stored reads a value that is not there, deletes it.
LONG Store(const wchar_t* name, std::wstring text) {
    if (text == L"missing") {
        return RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, name);
    }
    const bool dword = text.starts_with(L"dword:");
    const bool expand = text.starts_with(L"expand:");
    const LONG number = dword ? std::stol(text.substr(6)) : 0;
    text.erase(0, expand ? 7 : 0);
    return RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, name,
                           dword ? REG_DWORD : (expand ? REG_EXPAND_SZ : REG_SZ),
                           dword ? static_cast<const void*>(&number) : text.c_str(),
                           static_cast<DWORD>(dword ? sizeof number : 2 * text.size()));
}

// A picture of one colour, kShownColour, that fills the Wine desktop.
void Paint(const wchar_t* path) {
    const BITMAPINFOHEADER info = {sizeof info, 1024, 768, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const BITMAPFILEHEADER head = {0x4D42, 0, 0, 0, sizeof head + sizeof info};
    std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(&head), sizeof head)
            .write(reinterpret_cast<const char*>(&info), sizeof info)
        << std::string(1024 * 768 * 3, '\x40');
}

// The exe under test, built beside the tests.
std::wstring ExePath() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.replace(path.rfind(L'\\'), std::wstring::npos, L"\\deskglide.exe");
}

// A text of the exe's version block, as Explorer reads it.
std::wstring VersionText(const std::wstring& name) {
    std::string block(GetFileVersionInfoSizeW(ExePath().c_str(), nullptr), '\0');
    GetFileVersionInfoW(ExePath().c_str(), 0, static_cast<DWORD>(block.size()), block.data());
    wchar_t* value = nullptr;
    UINT size = 0;
    const std::wstring at = L"\\StringFileInfo\\040904B0\\" + name;
    VerQueryValueW(block.data(), at.c_str(), reinterpret_cast<void**>(&value), &size);
    return value ? value : L"";
}

// Its size and text at the desktop's DPI.
void CheckInformationWindow(HWND window) {
    NONCLIENTMETRICSW fonts = {};  // for the message font: the exe's font handle means nothing here
    fonts.cbSize = sizeof fonts;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof fonts, &fonts, 0);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    const HGDIOBJ previous = SelectObject(screen, CreateFontIndirectW(&fonts.lfMessageFont));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen, &metrics);
    DeleteObject(SelectObject(screen, previous));
    ReleaseDC(nullptr, screen);
    const HWND label = FindWindowExW(window, nullptr, L"Static", nullptr);
    const HWND usage = FindWindowExW(window, label, L"Static", nullptr);
    RECT client = {}, text = {}, below = {};
    GetClientRect(window, &client);
    GetClientRect(label, &text);
    GetWindowRect(usage, &below);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&below), 2);
    // The description as it always was; below it, where the window used to end, the usage block
    // in the same font, tall enough for its ten lines, and the window grown to hold it.
    EXPECT_EQ((std::vector<LONG>{client.right, text.right, text.bottom, below.top,
                                 client.bottom - below.bottom}),
              (std::vector<LONG>{MulDiv(310, dpi, 96), MulDiv(305, dpi, 96), MulDiv(87, dpi, 96),
                                 MulDiv(92, dpi, 96), MulDiv(3, dpi, 96)}));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(usage, WM_GETFONT, 0, 0));
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    EXPECT_GE(below.bottom - below.top, 10 * metrics.tmHeight);
    EXPECT_TRUE(
        Text(usage).starts_with(L"deskglide.exe [letters] [vertical] [horizontal]\n") &&
        Text(usage).ends_with(L"\nREADME.txt beside deskglide.exe tells the rest.\nVersion " +
                              VersionText(L"ProductVersion")))
        << Text(usage);
    EXPECT_EQ(Text(window), L"Deskglide");
    EXPECT_EQ(Text(label),
              L"A small program that makes it possible to scroll all the windows and the "
              L"wallpaper. If you \"lost\" the windows it is possible to move them back to the "
              L"screen. The program also makes it possible to only move some windows or to "
              L"exclude some windows.");
}

// Lays out the two-head desktop's monitors with the command its script names, and waits until
// Wine has them: the virtual screen's left and width tell the rows' layouts apart.
void LayOut(const std::vector<RECT>& heads, bool topStrip) {
    std::wstring command(1024, L'\0');
    command.resize(GetEnvironmentVariableW(L"DESKGLIDE_LAYOUT", command.data(), 1024));
    command += topStrip ? L" top" : L"";
    RECT all = {};
    for (const RECT& m : heads) {
        command += L" " + std::to_wstring(m.left) + L"," + std::to_wstring(m.top) + L"," +
                   std::to_wstring(m.right - m.left) + L"," + std::to_wstring(m.bottom - m.top);
        UnionRect(&all, &all, &m);
    }
    Start(command);  // a Unix program, of which Wine gives no handle to wait on
    for (int i = 0; i < 200 && (GetSystemMetrics(SM_XVIRTUALSCREEN) != all.left ||
                                GetSystemMetrics(SM_CXVIRTUALSCREEN) != all.right - all.left);
         ++i) {
        Pump(50);
    }
}

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class Exe : public testing::TestWithParam<Row> {};

TEST_P(Exe, Runs) {
    if (GetEnvironmentVariableW(L"DESKGLIDE_REAL_DESKTOP", nullptr, 0) == 0) {
        GTEST_SKIP() << "moves windows: use scripts/wine-tests, or set DESKGLIDE_REAL_DESKTOP=1";
    }
    const Row& row = GetParam();
    if (std::string_view(row.name).starts_with("Cp932") && GetACP() != 932) {
        GTEST_SKIP() << "needs the Japanese ANSI code page, 932";
    }
    if (!row.heads.empty() && GetEnvironmentVariableW(L"DESKGLIDE_LAYOUT", nullptr, 0) == 0) {
        GTEST_SKIP() << "needs the two-head desktop that scripts/wine-tests starts";
    }
    if (row.shown != nullptr && !UnderWine()) {
        GTEST_SKIP() << "needs the stand-in of the wallpaper class, in Wine's test prefix only";
    }
    if (!row.heads.empty()) {
        LayOut(row.heads, row.topStrip);
    }
    const std::wstring exe = ExePath();
    wchar_t appData[MAX_PATH] = {};
    GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    const std::wstring listFolder =
        row.userFolder ? appData + std::wstring(L"\\Deskglide") : exe.substr(0, exe.rfind(L'\\'));
    CreateDirectoryW(listFolder.c_str(), nullptr);
    const std::wstring list = listFolder + L"\\" + (row.list ? row.list : L"none");
    wchar_t temp[MAX_PATH] = {};  // on the system's drive, where the exe is not
    GetTempPathW(MAX_PATH, temp);
    const std::wstring linkFolder = temp + std::wstring(L"DeskglideLink");
    const std::wstring link = linkFolder + L"\\deskglide.exe";
    if (row.link) {
        CreateDirectoryW(linkFolder.c_str(), nullptr);
        // Wine 8's CreateSymbolicLinkW makes no link and says it did (measured): a Unix one there.
        if (!UnderWine()) {
            CreateSymbolicLinkW(link.c_str(), exe.c_str(),
                                SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
        } else {
            Finish(
                Start(L"/bin/ln -s \"" + UnixName(exe) + L"\" \"" + UnixName(linkFolder) + L"\""));
        }
    }
    const std::wstring savedOrigin = Stored(L"WallpaperOriginY");
    const std::wstring savedWallpaper = Stored(L"Wallpaper");
    const std::wstring savedOriginX = Stored(L"WallpaperOriginX");  // g with w resets it
    Store(L"WallpaperOriginY", row.originY ? row.originY : savedOrigin);
    Store(L"Wallpaper", row.wallpaper ? row.wallpaper : savedWallpaper);
    if (row.shown != nullptr) {  // the desktop shows no picture, and one is there to be re-applied
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, std::wstring().data(), SPIF_SENDCHANGE);
        Paint(kShown);
        const DWORD type = std::wstring(row.shown).starts_with(L"spotlight") ? 3 : 0;
        RegSetKeyValueW(HKEY_CURRENT_USER, kWallpapersKey, L"BackgroundType", REG_DWORD, &type, 4);
    }
    SetEnvironmentVariableW(L"DESKGLIDE_SHOWN", row.shown);
    SetEnvironmentVariableW(L"APPDATA", row.appData ? row.appData : appData);
    HANDLE file = nullptr;
    if (row.file == File::Folder) {
        CreateDirectoryW(list.c_str(), nullptr);
    } else if (row.list != nullptr) {
        file = CreateFileW(list.c_str(), GENERIC_WRITE,
                           row.file == File::Locked ? 0 : FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           row.file == File::Hidden ? FILE_ATTRIBUTE_HIDDEN : 0, nullptr);
        WriteFile(file, row.bytes.data(), static_cast<DWORD>(row.bytes.size()), nullptr, nullptr);
    }
    std::vector<HWND> windows;
    PROCESS_INFORMATION notepad = {};
    for (const TestWindow& w : row.windows) {
        if (w.kind == Kind::Notepad || w.kind == Kind::MinimisedNotepad) {
            const bool minimised = w.kind == Kind::MinimisedNotepad;
            notepad = Start(L"notepad.exe",
                            static_cast<WORD>(minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL));
            windows.push_back(Await(L"Notepad"));
            if (!minimised) {
                SetWindowPos(windows.back(), nullptr, w.at.x, w.at.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER);
            }
        } else if (w.kind == Kind::Hung) {
            CloseHandle(CreateThread(nullptr, 0, Hang, nullptr, 0, nullptr));
            Sleep(500);
            windows.push_back(FindWindowW(L"DeskglideTest", L"Hung"));
        } else {
            const Kind k = w.kind;
            const bool captioned =
                k == Kind::Maximised || k == Kind::Minimised || k == Kind::MinimisedFromMaximised;
            const bool maximised = k == Kind::Maximised || k == Kind::MaximisedFullScreen ||
                                   k == Kind::MinimisedFromMaximised;
            const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            const HWND made =
                Create(w.title, w.at, captioned ? WS_OVERLAPPEDWINDOW : w.style,
                       k == Kind::FullScreen ? screen : SIZE{w.width, 150}, w.exStyle);
            windows.push_back(made);
            ShowWindow(made, maximised ? SW_MAXIMIZE : SW_SHOW);
            SetLayeredWindowAttributes(made, 0, 0, LWA_ALPHA);  // where it is layered
            if (k == Kind::MaximisedFullScreen) {
                SetWindowPos(made, nullptr, 0, 0, screen.cx, screen.cy, SWP_NOZORDER);
            }
            if (k == Kind::Minimised || k == Kind::MinimisedFromMaximised) {
                ShowWindow(made, SW_MINIMIZE);
            }
        }
    }
    if (row.focus) {
        SetForegroundWindow(windows[0]);
    }
    if (!row.headsAtRun.empty()) {
        LayOut(row.headsAtRun, row.topStrip);
    }
    Pump(100);
    const HWND focused = GetForegroundWindow();

    ACL none = {ACL_REVISION, 0, sizeof none, 0, 0};  // an empty access list: no one may open it
    SECURITY_DESCRIPTOR sd = {SECURITY_DESCRIPTOR_REVISION, 0, SE_DACL_PRESENT, {}, {}, {}, &none};
    SECURITY_ATTRIBUTES denied = {sizeof denied, &sd, FALSE};
    HANDLE lock = row.lockDenied ? CreateMutexW(&denied, FALSE, L"Local\\Deskglide.Run") : nullptr;
    std::vector<RECT> before(windows.size());
    for (size_t i = 0; i < windows.size(); ++i) {
        GetWindowRect(windows[i], &before[i]);
    }
    std::vector<PROCESS_INFORMATION> runs;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    const std::wstring planFile = listFolder + L"\\plan.txt";
    const std::optional<HANDLE> out =
        row.plan == nullptr
            ? std::nullopt
            : std::optional(row.toFile
                                ? CreateFileW(planFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                              &inherited, CREATE_ALWAYS, 0, nullptr)
                                : nullptr);
    for (int i = 0; i < row.runs && !row.here; ++i) {
        runs.push_back(Start(L"\"" + (row.link ? link : exe) + L"\" " + row.args, row.show, out));
    }
    const auto withList = [&](std::wstring text) {  // LIST stands for the list's path
        const size_t at = text.find(L"LIST");
        return at == std::wstring::npos ? text : text.replace(at, 4, list);
    };
    const std::wstring plan = withList(row.plan ? row.plan : L"");
    if (row.here) {
        struct Here : Win32Desktop {
            std::wstring args;
            std::wstring CommandLineArguments() override { return args; }
        } here;
        here.args = row.args;
        EXPECT_EQ(RunLoadEvent(here, WindowHandle{}), static_cast<int>(row.status));
    }
    if (row.box != nullptr) {
        const HWND box = Await(L"#32770", L"Deskglide");
        wchar_t reason[256] = L"";  // in the system's language
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, {}, row.reason, 0, reason, 256, {});
        const std::wstring expected =
            withList(std::wstring(L"Deskglide: ") + row.box +
                     (row.reason ? std::wstring(reason, wcscspn(reason, L"\r\n")) : L"") +
                     (row.lockDenied ? L"\n(CreateMutexW, error 5)" : L""));
        EXPECT_EQ(Text(box) + L": " + Text(GetDlgItem(box, 0xFFFF)), expected);
        PostMessageW(box, WM_CLOSE, 0, 0);
    } else if (row.plan != nullptr && !row.toFile) {
        const HWND window = Await(L"DeskglideDryRun");
        wchar_t shown[4096] = {};  // another program's edit control answers only WM_GETTEXT
        SendMessageW(FindWindowExW(window, nullptr, L"Edit", nullptr), WM_GETTEXT, 4096,
                     reinterpret_cast<LPARAM>(shown));
        EXPECT_NE(std::wstring(shown).find(plan), std::wstring::npos) << shown;
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    } else if (row.help || std::wstring(row.args).find_first_of(L"gvh") == std::wstring::npos) {
        const HWND window = Await(L"DeskglideMain");
        EXPECT_TRUE(IsWindowVisible(window));  // also when started hidden: no one would see it
        EXPECT_EQ(IsIconic(window) != 0, row.show == SW_SHOWMINNOACTIVE);
        EXPECT_FALSE(IsZoomed(window));
        if (row.show != SW_SHOWMINNOACTIVE) {
            CheckInformationWindow(window);
        }
        PostMessageW(window, row.key != 0 ? WM_KEYDOWN : WM_CLOSE, row.key, 0);
    }
    for (const auto& run : runs) {
        EXPECT_EQ(Finish(run), row.status);
    }
    if (row.toFile) {
        CloseHandle(*out);
        std::ifstream written(planFile.c_str(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(written), {}};
        written.close();
        DeleteFileW(planFile.c_str());
        std::wstring text(bytes.size(), L'\0');
        const int size = static_cast<int>(bytes.size());
        text.resize(static_cast<size_t>(
            MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), size)));
        EXPECT_NE(text.find(plan), std::wstring::npos) << text.c_str();
    }
    Pump(100);
    if (row.shown != nullptr) {
        EXPECT_EQ(GetPixel(GetDC(nullptr), 1010, 700) == kShownColour, row.reapplied);
    }
    if (row.focus) {
        EXPECT_EQ(GetForegroundWindow(), focused);
    }
    for (size_t i = 0; i < windows.size(); ++i) {
        RECT r = {};
        GetWindowRect(windows[i], &r);
        const POINT expected = row.windows[i].expected.x == kKept.x
                                   ? POINT{before[i].left, before[i].top}
                                   : row.windows[i].expected;
        const TestWindow& w = row.windows[i];
        EXPECT_EQ(std::pair(r.left, r.top), std::pair(expected.x, expected.y)) << i;
        if (w.size.cx != 0) {
            EXPECT_EQ(std::pair(r.right - r.left, r.bottom - r.top),
                      std::pair(w.size.cx, w.size.cy));
        }
        EXPECT_EQ(IsIconic(windows[i]) != 0, w.kind == Kind::MinimisedNotepad ||
                                                 w.kind == Kind::Minimised ||
                                                 w.kind == Kind::MinimisedFromMaximised)
            << i;
        if (w.restored) {
            ShowWindow(windows[i], SW_RESTORE);
            EXPECT_EQ(IsZoomed(windows[i]) != 0, w.kind == Kind::MinimisedFromMaximised) << i;
            ShowWindow(windows[i], SW_RESTORE);
            GetWindowRect(windows[i], &r);
            EXPECT_EQ(std::pair(r.left, r.top), std::pair(w.restored->x, w.restored->y)) << i;
        }
        DestroyWindow(windows[i]);
    }
    EXPECT_EQ(Stored(L"WallpaperOriginY"), row.originYAfter ? row.originYAfter : savedOrigin);
    EXPECT_EQ(Stored(L"Wallpaper"), row.wallpaper ? row.wallpaper : savedWallpaper);

    Store(L"WallpaperOriginY", savedOrigin);
    Store(L"WallpaperOriginX", savedOriginX);
    Store(L"Wallpaper", savedWallpaper);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kWallpapersKey, L"BackgroundType");
    SetEnvironmentVariableW(L"APPDATA", appData);
    CloseHandle(lock);
    TerminateProcess(notepad.hProcess, 0);
    CloseHandle(file);
    DeleteFileW(list.c_str());
    RemoveDirectoryW(list.c_str());
    if (row.userFolder) {
        RemoveDirectoryW(listFolder.c_str());
    }
    // Wine's DeleteFileW deletes what a Unix link names, not the link (measured).
    if (row.link && UnderWine()) {
        Finish(Start(L"/bin/rm -r \"" + UnixName(linkFolder) + L"\""));
    } else if (row.link) {
        DeleteFileW(link.c_str());
        RemoveDirectoryW(linkFolder.c_str());
    }
}

const POINT kAt{100, 100};
// The desktop's own geometry, so that the rows hold on a Windows test machine too: the work area
// and how far a maximised window's borders lie outside it (4 pixels under Wine).
RECT kWork = {};
[[maybe_unused]] const BOOL kWorkRead = SystemParametersInfoW(SPI_GETWORKAREA, 0, &kWork, 0);
const int kOverhang = GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
TestWindow Plain(const wchar_t* title, POINT at, POINT expected) {
    return {Kind::Plain, title, at, expected};
}
const TestWindow kStays = Plain(L"B", {150, 150}, {150, 150});
TestWindow Wide(const wchar_t* title, POINT at, POINT expected) {  // across two monitors
    return {Kind::Plain, title, at, expected, WS_POPUP, 0, 600};
}
// The two-head desktop's layouts, as the run table on the fake desktop has them too.
const std::vector<RECT> kSideBySide = {{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
const std::vector<RECT> kLeftAbove = {{0, 0, 1024, 768}, {-800, -300, 0, 300}};
const std::vector<RECT> kSmallRight = {{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
TestWindow Own(Kind kind, POINT at, POINT expected, std::optional<POINT> restored) {
    return {kind, L"Own", at, expected, WS_POPUP, 0, 200, {}, restored};
}
// clang-format off
const Row kRows[] = {
    {.name = "MovesItsOwnAndAnotherProgramsWindowsAndKeepsTheFocus", .args = L"v 30",
     .windows = {Plain(L"A", kAt, {100, 130}), {Kind::Notepad, L"Notepad", {200, 150}, {200, 180}}}, .focus = true},
    {.name = "GathersIntoTheRealWorkAreaButNotFullScreenOrMinimisedWindows", .args = L"g",
     .windows = {Plain(L"A", {kWork.right - 124, kWork.bottom - 148}, {kWork.right - 200, kWork.bottom - 150}),
                 Plain(L"B", {-30, -20}, {0, 0}), {Kind::FullScreen, L"C", {0, 0}, {0, 0}},
                 {Kind::MaximisedFullScreen, L"D", {0, 0}, {0, 0}, WS_POPUP, 0, 200,
                  {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}},
                 {Kind::MinimisedNotepad, L"Notepad", kAt, {-32000, -32000}}}},
    {.name = "GatherLeavesAMaximisedWindowAlone", .args = L"g",
     .windows = {{Kind::Maximised, L"A", kAt, {kWork.left - kOverhang, kWork.top - kOverhang}}}},
    {.name = "HungAndMinimisedWindowsCannotStopTheRun", .args = L"v 10",
     .windows = {{Kind::Hung, L"Hung", {300, 300}, {300, 300}}, Plain(L"A", kAt, {100, 110}),
                 {Kind::MinimisedNotepad, L"Notepad", kAt, {-32000, -32000}}}},
    {.name = "LeavesOverlaysAndClickThroughWindowsButMovesCaptionedOnes", .args = L"v 30",
     .windows = {{Kind::FullScreen, L"Overlay", {0, 0}, {0, 0}, WS_POPUP, WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW},
                 {Kind::Plain, L"Dimmer", kAt, kAt, WS_POPUP, WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST},
                 {Kind::Plain, L"Palette", {150, 150}, {150, 180}, WS_CAPTION, WS_EX_TOOLWINDOW}, {Kind::Plain, L"Keyboard", {300, 150}, {300, 180}, WS_CAPTION, WS_EX_NOACTIVATE | WS_EX_TOPMOST}}},
    {.name = "StoresTheOriginAsTextAndReappliesThePictureEveryMonitorShows", .args = L"vw 25", .originY = L"12", .originYAfter = L"37",
     .wallpaper = kShown, .shown = L"|C:\\shown.bmp|c:\\SHOWN.bmp", .reapplied = true},
    // Not where it would change what the desktop shows, nor where the system stops answering part-way.
    {.name = "NoReapplyDuringASlideshow", .args = L"gw", .originYAfter = L"0", .wallpaper = kShown, .shown = L"slideshow|C:\\shown.bmp"},
    {.name = "NoReapplyWithAnotherPictureOnAMonitor", .args = L"gw", .originYAfter = L"0", .wallpaper = kShown, .shown = L"|C:\\shown.bmp|C:\\other.bmp"},
    {.name = "NoReapplyWhereTheQueryFailsOnTheSecondMonitor", .args = L"gw", .originYAfter = L"0", .wallpaper = kShown, .shown = L"|C:\\shown.bmp|?"},
    {.name = "NoReapplyForWindowsSpotlight", .args = L"gw", .originYAfter = L"0", .wallpaper = kShown, .shown = L"spotlight|C:\\shown.bmp"},
    {.name = "KeepsANumberOriginANumberAndAPathOutsideTheCodePage", .args = L"gv-w 25", .originY = L"dword:12",
     .originYAfter = L"dword:-13", .wallpaper = L"C:\\\u0141\u00F3d\u017A\\pic.bmp"},
    {.name = "KeepsAnExpandableWallpaperValueAsStored", .args = L"vw 5", .originY = L"0", .originYAfter = L"5",
     .wallpaper = L"expand: %SystemRoot%\\Web\\pic.bmp "},
    {.name = "RunsStartedTogetherTakeTurns", .args = L"vw 10", .windows = {Plain(L"A", kAt, {100, 180})},
     .originY = L"0", .originYAfter = L"80", .runs = 8},
    {.name = "AHiddenListIsNoList", .args = L"ve 30", .windows = {Plain(L"A", kAt, {100, 130})},
     .list = L"exclude.txt", .bytes = "A", .file = File::Hidden},
    {.name = "StartedThroughALinkReadsTheListBesideTheExeItself", .args = L"ve 30",
     .windows = {Plain(L"A", kAt, kAt), Plain(L"B", {150, 150}, {150, 180})}, .list = L"exclude.txt", .bytes = "A", .link = true},
    {.name = "AListInTheUsersFolderServesWhereTheExesFolderHasNone", .args = L"vi 30", .windows = {Plain(L"A", kAt, {100, 130}), kStays},
     .list = L"include.txt", .bytes = "A", .userFolder = true},
    {.name = "TheUsersFolderIsTheOneWindowsNamesNotTheEnvironments", .args = L"vi 30", .windows = {Plain(L"A", kAt, {100, 130}), kStays},
     .list = L"include.txt", .bytes = "A", .userFolder = true, .appData = L"C:\\nowhere"},
    {.name = "AFolderIsNoList", .args = L"vi 30", .windows = {Plain(L"A", kAt, {100, 130})}, .list = L"include.txt", .file = File::Folder},
    {.name = "AListHeldOpenByAnotherProgramStopsTheRun", .args = L"vi 30", .windows = {Plain(L"A", kAt, kAt)}, .list = L"include.txt",
     .bytes = "A", .file = File::Locked, .status = 4, .box = L"Deskglide could not read the list LIST, so it did nothing.\n\n",
     .reason = ERROR_SHARING_VIOLATION},
    {.name = "AMarkedListIsUtf16", .args = L"vi 30", .windows = {Plain(L"\u00C4rger", kAt, {100, 130}), kStays},
     .list = L"include.txt", .bytes = std::string("\xFF\xFE\xE4\0r\0", 6)},
    {.name = "AnUnmarkedUtf8ListMatchesTitlesInAndOutsideTheCodePage", .args = L"ve 30",
     .windows = {Plain(L"M\u00FCller", kAt, kAt), Plain(L"\u0141\u00F3d\u017A", kAt, kAt), Plain(L"B", kAt, {100, 130})},
     .list = L"exclude.txt", .bytes = "M\xC3\xBCller\r\n\xC5\x81\xC3\xB3" "d\xC5\xBA"},
    // A dry run moves nothing, writes nothing, and says what a run would do, or why not.
    {.name = "DryRunToAFile", .args = L"--dry-run vew 30", .windows = {Plain(L"A", kAt, kAt), Plain(L"B", {150, 150}, {150, 150})},
     .list = L"exclude.txt", .bytes = "A", .originY = L"12", .originYAfter = L"12",
     .plan = L"B\tdeskglide_wine_tests.exe\t150,150 200x150\tmoves\tto 150,180\r\nA\tdeskglide_wine_tests.exe\t100,100 200x150\tstays\t"
             L"excluded by the line `A` of LIST\r\n", .toFile = true},
    {.name = "DryRunInAWindow", .args = L"/DRY-RUN v 30", .windows = {Plain(L"B", {150, 150}, {150, 150})},
     .plan = L"B\tdeskglide_wine_tests.exe\t150,150 200x150\tmoves\tto 150,180\r\n"},
    {.name = "APerCentSignMakesAPercentage", .args = L"vs 10%", .windows = {Plain(L"A", kAt, {100, 100 + MulDiv(kWork.bottom, 10, 100)})}},
    {.name = "ReportsAnOverflowInABox", .args = L"v 3000000000", .status = 2,
     .box = L"The distance would be 3000000000, which is out of range: numbers must lie between -2147483648 and 2147483647."},
    {.name = "ReportsALockItMayNotTakeInABox", .status = 5,
     .box = L"Deskglide could not make sure that no other run of it is busy, so it did nothing.\n\n", .reason = ERROR_ACCESS_DENIED,
     .lockDenied = true},
    {.name = "InformationWindow"},
    {.name = "HelpShowsTheInformationWindowAndMovesNothing", .args = L"--help", .windows = {Plain(L"A", kAt, kAt)}, .help = true,
     .key = VK_RETURN},
    {.name = "InformationWindowMinimised", .show = SW_SHOWMINNOACTIVE},
    {.name = "InformationWindowMaximised", .show = SW_SHOWMAXIMIZED},
    {.name = "InformationWindowStartedHiddenIsShown", .show = SW_HIDE, .key = VK_ESCAPE},
    // g leaves what the user sees whole; the rest comes onto the nearest monitor's work area.
    {.name = "TwoHeadsGatherOntoTheSecondMonitor", .args = L"g",
     .windows = {Plain(L"A", {1200, 100}, {1200, 100}), Plain(L"B", {1950, 100}, {1848, 100}), Plain(L"C", {1200, 700}, {1200, 590}),
                 {Kind::FullScreen, L"D", {1024, 0}, {1024, 0}}, Plain(L"E", {3000, 100}, {1848, 100})}, .heads = kSideBySide},
    {.name = "TwoHeadsLeaveAWindowAcrossBothAndBringOneUp", .args = L"g",
     .windows = {Wide(L"A", {700, 100}, {700, 100}), Wide(L"B", {700, 700}, {700, 590})}, .heads = kSideBySide},
    {.name = "TwoHeadsLeftOfAndAboveThePrimary", .args = L"g",
     .windows = {Plain(L"A", {-700, -200}, {-700, -200}), Plain(L"B", {-900, -200}, {-800, -200}), Plain(L"C", {-700, 250}, {-700, 150})},
     .heads = kLeftAbove},
    {.name = "TwoHeadsAMonitorUnplugged", .args = L"g", .windows = {Plain(L"A", {1200, 100}, {824, 100}), Plain(L"B", {1950, 650}, {824, 590})},
     .heads = kSideBySide, .headsAtRun = {{0, 0, 1024, 768}}},
    {.name = "TwoHeadsMaximisedOnTheSecondaryStays", .args = L"g",
     .windows = {{Kind::Maximised, L"A", {1100, 100}, {1020, -4}}}, .heads = kSideBySide},
    {.name = "TwoHeadsMaximisedOnAMonitorUnpluggedIsMaximisedOnTheOneLeft", .args = L"g",
     .windows = {{Kind::Maximised, L"A", {1100, 100}, {-4, -4}, WS_POPUP, 0, 200, {1032, 748}}}, .heads = kSideBySide,
     .headsAtRun = {{0, 0, 1024, 768}}},
    // Placements, with the work area's corner off the screen's: the rows of the fake desktop.
    {.name = "TwoHeadsOwnWindowsLeftWhereTheyAre", .args = L"g",
     .windows = {Own(Kind::Maximised, kAt, {-4, 24}, {}), Own(Kind::MinimisedFromMaximised, {200, 200}, kKept, POINT{200, 200}),
                 Own(Kind::Minimised, {0, 300}, kKept, POINT{0, 300})}, .heads = kSmallRight, .topStrip = true, .here = true},
    {.name = "TwoHeadsOwnWindowsShifted", .args = L"v 30",
     .windows = {Own(Kind::Maximised, kAt, {-4, 54}, {}), Own(Kind::MinimisedFromMaximised, {200, 200}, kKept, POINT{200, 230}),
                 Own(Kind::Minimised, {0, 300}, kKept, POINT{0, 330})}, .focus = true, .heads = kSmallRight, .topStrip = true, .here = true},
    {.name = "TwoHeadsOwnMaximisedWindowOnAMonitorUnplugged", .args = L"g", .windows = {Plain(L"A", kAt, kAt),
     Own(Kind::Maximised, {1100, 100}, {-4, 24}, POINT{824, 100})}, .focus = true, .heads = kSmallRight,
     .headsAtRun = {{0, 0, 1024, 768}}, .topStrip = true, .here = true},
    {.name = "TwoHeadsPercentagesOfThePrimaryCarryAWindowAcross", .args = L"vhs 10 100", .windows = {Plain(L"A", kAt, {1124, 174})},
     .heads = kSideBySide},
    {.name = "Cp932ExcludeEntryProtectsItsWindow", .args = L"ve 30",
     .windows = {Plain(L"\u7121\u984C - \u30E1\u30E2\u5E33", kAt, kAt), Plain(L"B", {150, 150}, {150, 180})},
     .list = L"exclude.txt", .bytes = "abc\r\n\x83\x81\x83\x82\x92\xA0\r\n"},
    {.name = "Cp932IncludeEntrySelectsItsWindow", .args = L"vi 30",
     .windows = {Plain(L"\u8868\u8A08\u7B97", kAt, {100, 130}), kStays}, .list = L"include.txt", .bytes = "\x95\x5C"},
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Wine, Exe, testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// What Windows reads off the exe without running it: icon, manifest, version block.
TEST(Resources, IconManifestAndVersion) {
    const HMODULE exe = LoadLibraryExW(ExePath().c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr);
    const auto resource = [&](const wchar_t* type, int id) {
        const HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(id), type);
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(exe, found)));
        return found ? std::string(bytes, SizeofResource(exe, found)) : std::string();
    };
    // One group of 16x16, 32x32 and 48x48 images in 16 colours, the images themselves included.
    const std::string group = resource(RT_GROUP_ICON, 1);
    std::string sizes;
    for (size_t entry = 6; entry + 14 <= group.size(); entry += 14) {
        const std::string image = resource(RT_ICON, group[entry + 12]);
        const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        sizes += std::to_string(bitmap->biWidth) + "x" + std::to_string(bitmap->biBitCount) + " ";
    }
    EXPECT_EQ(sizes, "16x4 32x4 48x4 ");
    const std::string manifest = resource(MAKEINTRESOURCEW(24), 1);
    for (const char* part : {">PerMonitorV2, PerMonitor<", ">true/pm<", ">true</longPathAware>",
                             "Common-Controls", "asInvoker"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(VersionText(L"ProductName") + L" " + VersionText(L"OriginalFilename"),
              L"Deskglide deskglide.exe");
    EXPECT_EQ(VersionText(L"FileVersion"), VersionText(L"ProductVersion"));
    EXPECT_NE(VersionText(L"FileVersion"), L"");
}

}  // namespace
