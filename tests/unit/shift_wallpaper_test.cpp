#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "common/run_error.h"
#include "fake_desktop.h"
#include "run/run_sequence.h"
#include "wallpaper/shift_wallpaper.h"

namespace {

const std::string kKey = "Control Panel\\Desktop";
constexpr WindowHandle kSelf = 0x42;

std::optional<std::string> Stored(const FakeDesktop& desktop, const std::string& name) {
    const FakeDesktop::Value* value = desktop.FindValue(kKey, name);
    if (value == nullptr) {
        return std::nullopt;
    }
    EXPECT_EQ(value->Type, kRegSz) << name;
    return value->Data;
}

RunSettings Settings(int32_t mode, int16_t direction, int32_t vertical, int32_t horizontal) {
    RunSettings settings;
    settings.Mode = mode;
    settings.Direction = direction;
    settings.VerticalStep = vertical;
    settings.HorizontalStep = horizontal;
    return settings;
}

FakeDesktop DesktopWithOrigins(const std::string& x, const std::string& y) {
    FakeDesktop desktop;
    desktop.AddsNulToUnterminatedText = true;
    desktop.SetValue(kKey, "Wallpaper", {kRegSz, std::string("C:\\w.bmp\0", 9)});
    desktop.SetValue(kKey, "WallpaperOriginX", {kRegSz, x});
    desktop.SetValue(kKey, "WallpaperOriginY", {kRegSz, y});
    return desktop;
}

TEST(ShiftWallpaper, MovesTheOriginTheModeSelectsAndReappliesTheWallpaper) {
    const struct {
        const char* label;
        RunSettings settings;
        const char* x;
        const char* y;
    } cases[] = {
        {"vertical", Settings(ScrollMode::Vertical, 1, 25, 25), "5", "35"},
        {"vertical, reversed", Settings(ScrollMode::Vertical, -1, 25, 25), "5", "-15"},
        {"vertical, negative step", Settings(ScrollMode::Vertical, 1, -30, -30), "5", "-20"},
        {"horizontal", Settings(ScrollMode::Horizontal, 1, 5, 7), "12", "10"},
        {"horizontal, reversed", Settings(ScrollMode::Horizontal, -1, 5, 7), "-2", "10"},
        {"gather resets both", Settings(ScrollMode::Gather, -1, 5, 7), "0", "0"},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop = DesktopWithOrigins("5", "10");
        ShiftWallpaper(desktop, c.settings);
        EXPECT_EQ(Stored(desktop, "WallpaperOriginX"), c.x) << c.label;
        EXPECT_EQ(Stored(desktop, "WallpaperOriginY"), c.y) << c.label;
        EXPECT_EQ(desktop.CallsStartingWith("SetDeskWallpaper"),
                  (std::vector<std::string>{"SetDeskWallpaper C:\\w.bmp 3"}))
            << c.label;
        EXPECT_EQ(desktop.Calls.back(), "SetDeskWallpaper C:\\w.bmp 3") << c.label;
        EXPECT_TRUE(desktop.OpenKeys.empty()) << c.label;
    }
}

TEST(ShiftWallpaper, WithoutAModeReadsOnlyThePath) {
    FakeDesktop desktop = DesktopWithOrigins("5", "10");
    ShiftWallpaper(desktop, Settings(ScrollMode::None, 1, 50, 50));
    EXPECT_EQ(desktop.Calls,
              (std::vector<std::string>{"RegOpenKeyA Control Panel\\desktop",
                                        "RegQueryValueExA Wallpaper size",
                                        "RegQueryValueExA Wallpaper data", "RegCloseKey"}));
}

TEST(ShiftWallpaper, GatherCreatesMissingOriginsAndNeedsNoNumbers) {
    FakeDesktop desktop;
    desktop.SetValue(kKey, "WallpaperOriginY", {kRegSz, "not a number"});
    ShiftWallpaper(desktop, Settings(ScrollMode::Gather, 1, 50, 50));
    EXPECT_EQ(Stored(desktop, "WallpaperOriginX"), "0");
    EXPECT_EQ(Stored(desktop, "WallpaperOriginY"), "0");
}

TEST(ShiftWallpaper, ReadsOriginsAsNumbersInTheUsersLocale) {
    const struct {
        const char* stored;
        FakeDesktop::Value value;
        const wchar_t* separator;
        const char* expected;
    } cases[] = {
        {"padded", {kRegSz, " 10 "}, L".", "35"},
        {"a half rounds to even", {kRegSz, "12.5"}, L".", "37"},
        {"a comma locale", {kRegSz, "13,5"}, L",", "39"},
        {"binary FE FF", {kRegBinary, std::string("\xFE\xFF", 2)}, L".", "23"},
        {"size 0 with a NUL added", {kRegSz, std::string("7\0", 2)}, L".", "32"},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.Separator = c.separator;
        desktop.SetValue(kKey, "WallpaperOriginY", c.value);
        ShiftWallpaper(desktop, Settings(ScrollMode::Vertical, 1, 25, 25));
        EXPECT_EQ(Stored(desktop, "WallpaperOriginY"), c.expected) << c.stored;
    }
}

TEST(ShiftWallpaper, TheWallpaperPathIsTrimmedOrEmpty) {
    const struct {
        std::optional<FakeDesktop::Value> wallpaper;
        const char* applied;
    } cases[] = {
        {FakeDesktop::Value{kRegSz, "  C:\\My Pictures\\w.bmp  "},
         "SetDeskWallpaper C:\\My Pictures\\w.bmp 3"},
        {FakeDesktop::Value{kRegSz, ""}, "SetDeskWallpaper  3"},
        {std::nullopt, "SetDeskWallpaper  3"},
        {FakeDesktop::Value{4, std::string("\1\0\0\0", 4)}, "SetDeskWallpaper  3"},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        if (c.wallpaper) {
            desktop.SetValue(kKey, "Wallpaper", *c.wallpaper);
        }
        ShiftWallpaper(desktop, Settings(ScrollMode::Gather, 1, 50, 50));
        EXPECT_EQ(desktop.CallsStartingWith("SetDeskWallpaper"),
                  (std::vector<std::string>{c.applied}));
    }
}

TEST(ShiftWallpaper, AnUnusableOriginStopsBeforeAnythingIsWritten) {
    const struct {
        std::optional<std::string> y;
        RunSettings settings;
        RunErrorKind kind;
        std::wstring message;
    } cases[] = {
        {std::nullopt, Settings(ScrollMode::Vertical, 1, 25, 25), RunErrorKind::Conversion,
         L"The wallpaper origin WallpaperOriginY in HKEY_CURRENT_USER\\Control Panel\\Desktop is "
         L"missing or empty, not a number."},
        {"", Settings(ScrollMode::Vertical, 1, 25, 25), RunErrorKind::Conversion,
         L"The wallpaper origin WallpaperOriginY in HKEY_CURRENT_USER\\Control Panel\\Desktop is "
         L"missing or empty, not a number."},
        {"ten", Settings(ScrollMode::Vertical, 1, 25, 25), RunErrorKind::Conversion,
         L"The wallpaper origin WallpaperOriginY \"ten\" is not a number."},
        {"3000000000", Settings(ScrollMode::Vertical, 1, 25, 25), RunErrorKind::Overflow,
         L"The wallpaper origin WallpaperOriginY would be 3000000000"},
        {"2147483600", Settings(ScrollMode::Vertical, 1, 50, 50), RunErrorKind::Overflow,
         L"The wallpaper origin WallpaperOriginY, moved from 2147483600 by 50, would be "
         L"2147483650"},
        {"-2147483600", Settings(ScrollMode::Vertical, -1, 50, 50), RunErrorKind::Overflow,
         L"would be -2147483650"},
        {"0", Settings(ScrollMode::Vertical, -1, INT32_MIN, 0), RunErrorKind::Overflow,
         L"The step of the wallpaper origin WallpaperOriginY would be 2147483648"},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.SetValue(kKey, "Wallpaper", {kRegSz, "C:\\w.bmp"});
        if (c.y) {
            desktop.SetValue(kKey, "WallpaperOriginY", {kRegSz, *c.y});
        }
        try {
            ShiftWallpaper(desktop, c.settings);
            ADD_FAILURE() << "no error for " << c.y.value_or("(absent)");
        } catch (const RunError& error) {
            EXPECT_EQ(error.Kind(), c.kind) << c.y.value_or("(absent)");
            EXPECT_NE(error.Message().find(c.message), std::wstring::npos)
                << Narrow(error.Message());
        }
        EXPECT_TRUE(desktop.CallsStartingWith("RegCreateKeyA").empty());
        EXPECT_TRUE(desktop.CallsStartingWith("RegSetValueExA").empty());
        EXPECT_TRUE(desktop.CallsStartingWith("SetDeskWallpaper").empty());
        EXPECT_TRUE(desktop.OpenKeys.empty());
    }
}

// The whole run: the letters pick the origin, the steps are the window pass's.
TEST(ShiftWallpaper, RunsWithTheLetterWShiftAfterTheWindowPass) {
    const struct {
        const wchar_t* arguments;
        const char* x;
        const char* y;
    } cases[] = {
        {L"vw 25", "0", "35"},    {L"v-w 25", "0", "-15"}, {L"gw", "0", "0"},
        {L"gvw 30", "0", "40"},   {L"ghw 30", "30", "10"}, {L"vhw 5 7", "7", "10"},
        {L"VW- 5 7", "0", "5"},   {L"hw", "50", "10"},     {L"vsw", "0", "194"},
        {L"hsw 10", "102", "10"},  // 10 % of the work area's right edge, 1024
    };
    for (const auto& c : cases) {
        FakeDesktop desktop = DesktopWithOrigins("0", "10");
        desktop.Arguments = c.arguments;
        desktop.WorkArea = {0, 0, 1024, 738};  // 25 % of 738 is 184.5, which rounds to 184
        desktop.AddWindow("Editor", {100, 100, 400, 300});
        EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0) << Narrow(c.arguments);
        EXPECT_EQ(Stored(desktop, "WallpaperOriginX"), c.x) << Narrow(c.arguments);
        EXPECT_EQ(Stored(desktop, "WallpaperOriginY"), c.y) << Narrow(c.arguments);
        const auto& calls = desktop.Calls;
        const auto pass = std::find(calls.begin(), calls.end(), "EnumWindows");
        const auto applied = std::find(calls.begin(), calls.end(), "SetDeskWallpaper C:\\w.bmp 3");
        ASSERT_NE(pass, calls.end());
        ASSERT_NE(applied, calls.end());
        EXPECT_LT(pass,
                  std::find(calls.begin(), calls.end(), "RegOpenKeyA Control Panel\\desktop"));
        EXPECT_EQ(applied + 1, std::find(calls.begin(), calls.end(), "CloseMainWindow"));
    }
}

TEST(ShiftWallpaper, WithoutTheLetterWTheRegistryIsLeftAlone) {
    FakeDesktop desktop = DesktopWithOrigins("0", "10");
    EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0);
    desktop.Arguments = L"vh 10 20";
    EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0);
    EXPECT_TRUE(desktop.CallsStartingWith("Reg").empty());
    EXPECT_TRUE(desktop.CallsStartingWith("SetDeskWallpaper").empty());
}

TEST(ShiftWallpaper, AnAbsentOriginStopsTheRunAfterTheWindowsMoved) {
    FakeDesktop desktop;
    desktop.Arguments = L"vw 25";
    desktop.SetValue(kKey, "Wallpaper", {kRegSz, "C:\\w.bmp"});
    const WindowHandle window = desktop.AddWindow("Editor", {100, 100, 400, 300});
    EXPECT_EQ(RunLoadEvent(desktop, kSelf), ExitStatusFor(RunErrorKind::Conversion));
    EXPECT_EQ(desktop.WindowAt(window).Bounds, (Rect{100, 125, 400, 325}));
    ASSERT_EQ(desktop.Errors.size(), 1u);
    EXPECT_NE(desktop.Errors[0].find(L"WallpaperOriginY"), std::wstring::npos);
    EXPECT_TRUE(desktop.CallsStartingWith("RegSetValueExA").empty());
    EXPECT_TRUE(desktop.CallsStartingWith("SetDeskWallpaper").empty());
    EXPECT_EQ(desktop.Calls.back(), "CloseMainWindow");
}

}  // namespace
