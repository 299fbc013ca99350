#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "harness.h"
#include "platform/win32_desktop.h"
#include "registry_fixture.h"
#include "wallpaper/mod_registry.h"

namespace {

// Counts the broadcasts that tell top-level windows the wallpaper was set.
int wallpaperBroadcasts = 0;

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE && wParam == SPI_SETDESKWALLPAPER) {
        ++wallpaperBroadcasts;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A titled top-level window that the run moves and that hears the wallpaper broadcast.
class ListenerWindow {
  public:
    ListenerWindow(int x, int y) {
        static const bool registered = [] {
            WNDCLASSEXW windowClass = {};
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = ListenerProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"DeskglideWallpaperListener";
            return RegisterClassExW(&windowClass) != 0;
        }();
        EXPECT_TRUE(registered);
        window_ = CreateWindowExW(0, L"DeskglideWallpaperListener", L"Wallpaper listener",
                                  WS_POPUP | WS_BORDER | WS_VISIBLE, x, y, 200, 150, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        PumpMessages(20);
        wallpaperBroadcasts = 0;
    }
    ~ListenerWindow() { DestroyWindow(window_); }
    ListenerWindow(const ListenerWindow&) = delete;
    ListenerWindow& operator=(const ListenerWindow&) = delete;

    POINT Position() const {
        PumpMessages(20);
        RECT rect = {};
        GetWindowRect(window_, &rect);
        return {rect.left, rect.top};
    }

  private:
    HWND window_ = nullptr;
};

// Each test starts from known desktop values and leaves the prefix as it found it.
class Wallpaper : public testing::Test {
  protected:
    void SetUp() override {
        WriteText(L"Wallpaper", L"");
        WriteText(L"WallpaperOriginX", L"0");
        WriteText(L"WallpaperOriginY", L"10");
    }

    SavedDesktopValues saved_;
    Sandbox sandbox;
};

TEST_F(Wallpaper, RunsMoveTheOriginTheModeSelectsAndReapplyTheWallpaper) {
    const struct {
        const wchar_t* arguments;
        const wchar_t* x;
        const wchar_t* y;
        POINT window;
    } cases[] = {
        {L"vw 25", L"0", L"35", {100, 125}}, {L"v-w 25", L"0", L"-15", {100, 75}},
        {L"gw", L"0", L"0", {100, 100}},     {L"vhw 5 7", L"7", L"10", {107, 105}},
        {L"vsw", L"0", L"197", {100, 287}},  // 25 % of the work area's bottom edge, 748
    };
    for (const auto& c : cases) {
        const std::string label = testing::PrintToString(std::wstring(c.arguments));
        WriteText(L"WallpaperOriginX", L"0");
        WriteText(L"WallpaperOriginY", L"10");
        ListenerWindow window(100, 100);
        const RunResult result = RunDeskglide(sandbox.Exe(), c.arguments);
        EXPECT_FALSE(result.timedOut) << label;
        EXPECT_EQ(result.exitCode, 0u) << label;
        EXPECT_EQ(ReadText(L"WallpaperOriginX"), c.x) << label;
        EXPECT_EQ(ReadText(L"WallpaperOriginY"), c.y) << label;
        EXPECT_EQ(window.Position(), c.window) << label;
        EXPECT_EQ(wallpaperBroadcasts, 1) << label;
    }
}

TEST_F(Wallpaper, AnOriginWrittenByOneRunIsReadByTheNext) {
    // The program stores origins without a NUL, as the old settings dialogs did.
    EXPECT_EQ(RunDeskglide(sandbox.Exe(), L"hw- 20").exitCode, 0u);
    EXPECT_EQ(RunDeskglide(sandbox.Exe(), L"hw- 20").exitCode, 0u);
    EXPECT_EQ(ReadText(L"WallpaperOriginX"), L"-40");
}

TEST_F(Wallpaper, WAloneShowsTheWindowAndWritesNothing) {
    const auto before = ReadRaw(kDesktopKey, L"WallpaperOriginY");
    ListenerWindow listener(100, 100);
    Process process(sandbox.Exe(), L"w");
    const HWND window = process.WaitForWindow(L"DeskglideMain", 10000);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(process.Wait(10000).exitCode, 0u);
    EXPECT_EQ(ReadRaw(kDesktopKey, L"WallpaperOriginY"), before);
    EXPECT_EQ(ReadText(L"WallpaperOriginX"), L"0");
    EXPECT_EQ(listener.Position(), (POINT{100, 100}));
    EXPECT_EQ(wallpaperBroadcasts, 0);
}

TEST_F(Wallpaper, AnAbsentOriginIsReportedAndNothingIsWritten) {
    WriteRaw(kDesktopKey, L"WallpaperOriginY", std::nullopt);
    const auto wallpaper = ReadRaw(kDesktopKey, L"Wallpaper");
    ListenerWindow listener(100, 100);
    Process process(sandbox.Exe(), L"vw 25");
    const std::wstring text = CloseErrorBox(process);
    EXPECT_NE(text.find(L"WallpaperOriginY"), std::wstring::npos);
    EXPECT_NE(text.find(L"missing or empty"), std::wstring::npos);
    const RunResult result = process.Wait(10000);
    EXPECT_EQ(result.exitCode, 3u);
    EXPECT_EQ(ReadRaw(kDesktopKey, L"WallpaperOriginY"), std::nullopt);
    EXPECT_EQ(ReadText(L"WallpaperOriginX"), L"0");
    EXPECT_EQ(ReadRaw(kDesktopKey, L"Wallpaper"), wallpaper);
    EXPECT_EQ(listener.Position(), (POINT{100, 125}));  // moved before the wallpaper step
    EXPECT_EQ(wallpaperBroadcasts, 0);
}

TEST_F(Wallpaper, AnEmptyOrUnterminatedWallpaperValueIsNoError) {
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {{"empty text", std::string("\0", 1)}, {"size 0", ""}};
    for (const auto& c : cases) {
        WriteAnsi(kDesktopKey, "Wallpaper", REG_SZ, c.bytes);
        WriteText(L"WallpaperOriginX", L"5");
        ListenerWindow listener(100, 100);
        const RunResult result = RunDeskglide(sandbox.Exe(), L"gw");
        EXPECT_EQ(result.exitCode, 0u) << c.label;
        EXPECT_EQ(ReadText(L"WallpaperOriginX"), L"0") << c.label;
        EXPECT_EQ(ReadText(L"WallpaperOriginY"), L"0") << c.label;
        EXPECT_EQ(wallpaperBroadcasts, 1) << c.label;
    }
}

TEST_F(Wallpaper, TheStoredPathIsReappliedWithoutSurroundingSpaces) {
    // Setting the wallpaper with the update flag stores the path it was given.
    WriteText(L"Wallpaper", L"  C:\\windows\\deskglide test.bmp  ");
    ListenerWindow listener(100, 100);
    EXPECT_EQ(RunDeskglide(sandbox.Exe(), L"gw").exitCode, 0u);
    EXPECT_EQ(ReadText(L"Wallpaper"), L"C:\\windows\\deskglide test.bmp");
    EXPECT_EQ(wallpaperBroadcasts, 1);
}

// The helpers on a key of their own, through the same platform code the exe uses.
class RegistryHelpers : public testing::Test {
  protected:
    void SetUp() override {
        subkey_ = L"Software\\Deskglide tests\\" + std::to_wstring(GetCurrentProcessId());
        ansiSubkey_ = desktop_.ToAnsi(subkey_);
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, subkey_.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Deskglide tests");  // only when empty
    }

    std::wstring subkey_;
    std::string ansiSubkey_;
    Win32Desktop desktop_;
};

TEST_F(RegistryHelpers, ReadEachValueTypeByItsRule) {
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
        std::wstring expected;
    } cases[] = {
        {"text with its NUL", REG_SZ, std::string("12\0", 3), L"12"},
        {"text without a NUL", REG_SZ, "12", L"12"},
        {"text of size 0", REG_SZ, "", L""},
        {"embedded NUL", REG_SZ, std::string("12\0junk", 7), L"12"},
        {"binary FE FF", REG_BINARY, "\xFE\xFF", L"-2"},
        {"binary one byte", REG_BINARY, "\xFF", L"255"},
        {"binary longer", REG_BINARY, "\xFE\xFF\x01\x02\x03", L"-2"},
        {"dword", REG_DWORD, std::string("\x0C\0\0\0", 4), L""},
        {"expand_sz", REG_EXPAND_SZ, std::string("12\0", 3), L""},
    };
    for (const auto& c : cases) {
        WriteAnsi(subkey_.c_str(), c.name, c.type, c.bytes);
    }
    for (const auto& c : cases) {
        EXPECT_EQ(GetRegValue(desktop_, kHkeyCurrentUser, subkey_, desktop_.FromAnsi(c.name)),
                  c.expected)
            << c.name;
    }
    EXPECT_EQ(GetRegValue(desktop_, kHkeyCurrentUser, subkey_, L"missing"), L"");
    EXPECT_EQ(GetRegValue(desktop_, kHkeyCurrentUser, subkey_ + L"\\missing", L"x"), L"");
}

TEST_F(RegistryHelpers, SetRegStringCreatesTheKeyAndStoresNoNul) {
    const std::wstring created = subkey_ + L"\\Created";
    ASSERT_EQ(ReadRaw(created.c_str(), L"Origin"), std::nullopt);
    SetRegString(desktop_, kHkeyCurrentUser, created, L"Origin", L"-15");
    // Wine reports such a value with a NUL added, so only the fake can show the size written.
    const auto raw = ReadRaw(created.c_str(), L"Origin");
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw->bytes.substr(0, 6), std::string("-\0"
                                                   "1\0"
                                                   "5\0",
                                                   6));
    EXPECT_EQ(GetRegValue(desktop_, kHkeyCurrentUser, created, L"Origin"), L"-15");
}

}  // namespace
