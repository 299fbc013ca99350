#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "run/run_sequence.h"

namespace {

using namespace std::string_literals;
using Change = std::function<void(FakeDesktop&)>;
using Point = std::pair<int32_t, int32_t>;

// The desktop every run starts from, top of the stacking order first: three windows that take
// part (0 inside the work area, 1 off its bottom-right corner, 2 off its left edge), then a
// hidden one, an untitled one and the program's own.
constexpr char kNames[] = "012HUS";
constexpr WindowHandle kSelf{0x105};

FakeDesktop StartingDesktop() {
    FakeDesktop desktop;
    desktop.Windows = {{WindowHandle{0x100}, "Untitled - Notepad", {100, 100, 400, 300}},
                       {WindowHandle{0x101}, "Mail", {900, 600, 1200, 900}},
                       {WindowHandle{0x102}, "Lost", {-50, 20, 350, 320}},
                       {WindowHandle{0x103}, "Hidden", {10, 10, 20, 20}, false},
                       {WindowHandle{0x104}, "", {30, 30, 40, 40}},
                       {kSelf, "Deskglide", {50, 50, 60, 60}}};
    desktop.DesktopKey = {{"WallpaperOriginX", {kRegSz, "3"}},
                          {"WallpaperOriginY", {kRegSz, "10"}},
                          {"Wallpaper", {kRegSz, " C:\\pic.bmp "}}};
    return desktop;
}

Change List(const wchar_t* name, std::string bytes, FileTest test = FileTest::Present) {
    return [=](FakeDesktop& d) { d.Files[L"C:\\Tools\\"s + name] = {bytes, test}; };
}
Change Exclude(std::string bytes) { return List(L"exclude.txt", std::move(bytes)); }
Change Include(std::string bytes) { return List(L"include.txt", std::move(bytes)); }
Change OriginY(unsigned long type, std::string data, bool readFails = false) {
    return [=](FakeDesktop& d) { d.DesktopKey["WallpaperOriginY"] = {type, data, readFails}; };
}
Change Bounds(size_t window, Rect bounds) {
    return [=](FakeDesktop& d) { d.Windows[window].Bounds = bounds; };
}

struct Row {
    std::wstring args{};
    std::vector<Point> after{};    // where windows 0, 1 and 2 went; none: they did not move
    const char* stack = "HUS012";  // the stacking order afterwards
    bool shown = false;            // the information window was left open
    int status = 0;
    std::wstring error{};           // what the error message says, in part
    const char* originX = nullptr;  // the origins stored afterwards; null: unchanged
    const char* originY = nullptr;
    const char* wallpaper = nullptr;  // the wallpaper re-applied; null: none
    std::vector<Change> setup{};
};

constexpr Point kStays{-1, -1};
const std::vector<Point> kDown30 = {{100, 130}, {900, 630}, {-50, 50}};
const std::vector<Point> kGathered = {{100, 100}, {724, 448}, {0, 20}};
const std::string kTitle300(300, 'x');

TEST(Runs, CommandLineDesktopAndListsInMovesStoredValuesAndStatusOut) {
    // clang-format off
    const Row rows[] = {
        // Without a mode letter nothing moves and nothing is written.
        {.args = L"", .stack = "012HUS", .shown = true},
        {.args = L"w e 100", .stack = "012HUS", .shown = true, .setup = {Exclude("Mail")}},
        // Steps: the last number is horizontal, the one before vertical; - turns both round.
        {.args = L"v", .after = {{100, 150}, {900, 650}, {-50, 70}}},
        {.args = L"V 100", .after = {{100, 200}, {900, 700}, {-50, 120}}},
        {.args = L"h- 30", .after = {{70, 100}, {870, 600}, {-80, 20}}},
        {.args = L"  vh 10 20  ", .after = {{120, 110}, {920, 610}, {-30, 30}}},
        {.args = L"v -30", .after = kDown30},
        {.args = L"v 2,5", .after = {{100, 102}, {900, 602}, {-50, 22}},
         .setup = {[](FakeDesktop& d) { d.Separator = L","; }}},
        {.args = L"vs",
         .after = {{100, 284}, {900, 784}, {-50, 204}},
         .setup = {[](FakeDesktop& d) { d.WorkArea = {0, 0, 1024, 738}; }}},
        {.args = L"hs 10", .after = {{202, 100}, {1002, 600}, {52, 20}}},
        // Gathering: far edges onto the work area's, negative near edges to 0.
        {.args = L"g", .after = kGathered},
        {.args = L"gv 40", .after = kGathered},
        {.args = L"g",
         .after = {{-76, -242}, {724, 448}, {0, 0}},
         .setup = {Bounds(0, {0, 10, 1100, 1000}), Bounds(2, {-10, -20, 100, 100})}},
        // Lists: e wins over i; entries match anywhere in a title, ignoring case.
        {.args = L"help", .after = {{150, 100}, kStays, {0, 20}}, .stack = "1HUS02",
         .setup = {Exclude("mail")}},
        {.args = L"ve 30", .after = {kStays, {900, 630}, {-50, 50}}, .stack = "0HUS12",
         .setup = {Exclude("notepad\r\n")}},
        {.args = L"vi 30", .after = {kStays, {900, 630}, kStays}, .stack = "02HUS1",
         .setup = {Include("MAIL")}},
        {.args = L"vi 30", .after = kDown30},
        {.args = L"vie 30", .after = {{100, 130}, kStays, {-50, 50}}, .stack = "1HUS02",
         .setup = {Exclude("Mail"), Include("Lost")}},
        {.args = L"vi 30", .stack = "012HUS", .setup = {Include("\r\n")}},
        {.args = L"vi 30", .stack = "012HUS", .setup = {Include("")}},
        {.args = L"ve 30", .after = kDown30, .setup = {Exclude("")}},
        {.args = L"ve 30", .after = kDown30, .setup = {Exclude("Notepad \r\nlost\nmail")}},
        {.args = L"ve 30", .after = {{100, 130}, kStays, kStays}, .stack = "12HUS0",
         .setup = {Exclude("lost\r\nmail\r\n")}},
        {.args = L"vi 30", .stack = "012HUS", .setup = {[](FakeDesktop& d) {
             d.Files[L"C:\\Tools\\include.txt"] = {};
         }}},
        {.args = L"vi 30", .after = kDown30,
         .setup = {List(L"include.txt", "mail", FileTest::Absent)}},
        {.args = L"vi 30", .after = {kStays, {900, 630}, kStays}, .stack = "02HUS1",
         .setup = {List(L"include.txt", "mail", FileTest::Failed)}},
        {.args = L"vi 30", .after = {kStays, {900, 630}, kStays}, .stack = "02HUS1",
         .setup = {Include("\xEF\xBB\xBFmail")}},
        {.args = L"vi 30", .after = {kStays, kStays, {-50, 50}}, .stack = "01HUS2",
         .setup = {Include(std::string("\xFF\xFEL\0o\0s\0t\0", 10))}},
        {.args = L"vi 30", .after = {{100, 130}, kStays, kStays}, .stack = "12HUS0",
         .setup = {Include("\xEF\xBB\xBF\xC3\xA4z"),
                   [](FakeDesktop& d) { d.Windows[0].Title = "Gr\xC4Z"; }}},
        // The wallpaper origin the mode selects moves after the windows, as decimal text.
        {.args = L"vw 25", .after = {{100, 125}, {900, 625}, {-50, 45}}, .originY = "35",
         .wallpaper = "C:\\pic.bmp"},
        {.args = L"v-w 25", .after = {{100, 75}, {900, 575}, {-50, -5}}, .originY = "-15",
         .wallpaper = "C:\\pic.bmp"},
        {.args = L"vhw 5 7", .after = {{107, 105}, {907, 605}, {-43, 25}}, .originX = "10",
         .wallpaper = "C:\\pic.bmp"},
        {.args = L"gw", .after = kGathered, .originX = "0", .originY = "0",
         .wallpaper = "C:\\pic.bmp"},
        {.args = L"gvw 30", .after = kGathered, .originY = "40", .wallpaper = "C:\\pic.bmp"},
        {.args = L"ghw 30", .after = kGathered, .originX = "33", .wallpaper = "C:\\pic.bmp"},
        {.args = L"w", .stack = "012HUS", .shown = true},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .originY = "-1",
         .wallpaper = "C:\\pic.bmp", .setup = {OriginY(kRegBinary, "\xFE\xFF")}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .originY = "256",
         .wallpaper = "C:\\pic.bmp", .setup = {OriginY(kRegBinary, "\xFF")}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .originY = "6",
         .wallpaper = "C:\\pic.bmp", .setup = {OriginY(kRegBinary, "\x05\x00\x01\x02"s)}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .originY = "13",
         .wallpaper = "C:\\pic.bmp", .setup = {OriginY(kRegSz, std::string("12\0junk", 7))}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .originY = "8",
         .wallpaper = "", .setup = {OriginY(kRegSz, " 7 "), [](FakeDesktop& d) {
             d.DesktopKey["Wallpaper"].Type = 2;
         }}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .originY = "11",
         .wallpaper = "", .setup = {[](FakeDesktop& d) { d.DesktopKey.erase("Wallpaper"); }}},
        // An error stops the run where it happens; what was done stays done.
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .status = 3,
         .error = L"WallpaperOriginY in HKEY_CURRENT_USER\\Control Panel\\Desktop is missing",
         .setup = {OriginY(4, "\x01\0\0\0")}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .status = 3,
         .error = L"missing or empty", .setup = {OriginY(kRegSz, "12", true)}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .status = 3,
         .error = L"\"abc\" is not a number", .setup = {OriginY(kRegSz, "abc")}},
        {.args = L"vw 1", .after = {{100, 101}, {900, 601}, {-50, 21}}, .status = 2,
         .error = L"The wallpaper origin WallpaperOriginY, moved from 2147483647 by 1,",
         .setup = {OriginY(kRegSz, "2147483647")}},
        {.args = L"v 3000000000", .stack = "012HUS", .status = 2, .error = L"3000000000"},
        {.args = L"3000000000", .stack = "012HUS", .status = 2, .error = L"3000000000"},
        {.args = L"vs 3000000", .stack = "012HUS", .status = 2, .error = L"percentage"},
        {.args = L"v- -2147483648", .stack = "012HUS", .status = 2, .error = L"2147483648"},
        {.args = L"vw 1000", .after = {{100, 1100}, kStays, kStays}, .stack = "12HUS0", .status = 2,
         .error = L"window \"" + std::wstring(255, L'x') + L"\" would be 2147484000",
         .setup = {Bounds(1, {900, 2147483000, 1200, 2147483600}),
                   [](FakeDesktop& d) { d.Windows[1].Title = kTitle300; }}},
        {.args = L"g", .after = {{100, 100}, kStays, kStays}, .stack = "12HUS0", .status = 2,
         .error = L"gathered vertical position of the window \"Mail\"",
         .setup = {Bounds(1, {0, INT32_MIN, 10, INT32_MAX})}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "deskglide.exe " << row.args);
        FakeDesktop desktop = StartingDesktop();
        desktop.Arguments = row.args;
        for (const Change& setup : row.setup) {
            setup(desktop);
        }
        const FakeDesktop before = desktop;
        EXPECT_EQ(RunLoadEvent(desktop, kSelf), row.status);
        EXPECT_EQ(desktop.Closed, !row.shown);
        ASSERT_EQ(desktop.Errors.size(), row.error.empty() ? 0u : 1u);
        if (!row.error.empty()) {
            EXPECT_NE(desktop.Errors[0].find(row.error), std::wstring::npos) << desktop.Errors[0];
        }
        std::string stack;
        for (const auto& window : desktop.Windows) {
            stack += kNames[static_cast<size_t>(window.Handle) - 0x100];
        }
        EXPECT_EQ(stack, row.stack);
        for (size_t i = 0; i < before.Windows.size(); ++i) {
            Rect expected = before.Windows[i].Bounds;
            if (i < row.after.size() && row.after[i] != kStays) {
                const auto [x, y] = row.after[i];
                expected = {x, y, x + expected.right - expected.left,
                            y + expected.bottom - expected.top};
            }
            EXPECT_EQ(desktop.At(before.Windows[i].Handle).Bounds, expected) << kNames[i];
        }
        for (const auto& [name, data] :
             {std::pair{"WallpaperOriginX", row.originX}, {"WallpaperOriginY", row.originY}}) {
            const auto old = before.DesktopKey.find(name);
            const auto now = desktop.DesktopKey.find(name);
            ASSERT_EQ(now == desktop.DesktopKey.end(),
                      data == nullptr && old == before.DesktopKey.end());
            if (data != nullptr) {
                EXPECT_EQ(now->second.Type, kRegSz);
                EXPECT_EQ(now->second.Data, data);
            } else if (old != before.DesktopKey.end()) {
                EXPECT_EQ(now->second.Data, old->second.Data);
            }
        }
        EXPECT_EQ(desktop.AppliedWallpaper,
                  row.wallpaper ? std::optional<std::string>(row.wallpaper) : std::nullopt);
        EXPECT_EQ(desktop.OpenKeys, 0);
    }
}

}  // namespace
