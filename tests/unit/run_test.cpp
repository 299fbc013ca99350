#include <gtest/gtest.h>

#include <cctype>

#include "fake_desktop.h"
#include "run/run_sequence.h"

namespace {

using namespace std::string_literals;
using Change = std::function<void(FakeDesktop&)>;
using Point = std::pair<int32_t, int32_t>;

// Every run starts from this desktop, top of the stacking order first: the program's own window
// (S), and three that take part (0 inside the work area, 1 off its bottom-right corner, 2 off its
// left edge) among a hidden (H) and an untitled one (U).
constexpr char kNames[] = "S0H1U2abcdefghijkl";
constexpr WindowHandle kSelf{0x100};
constexpr wchar_t kPicture[] = L"C:\\pic.bmp";
constexpr wchar_t kExclude[] = L"C:\\Tools\\exclude.txt";
constexpr wchar_t kInclude[] = L"C:\\Tools\\include.txt";
constexpr wchar_t kUserExclude[] = L"C:\\Users\\Ann\\AppData\\Roaming\\Deskglide\\exclude.txt";
constexpr wchar_t kUserInclude[] = L"C:\\Users\\Ann\\AppData\\Roaming\\Deskglide\\include.txt";

RegistryValue Sz(const wchar_t* text) { return {kRegSz, text, {}}; }
RegistryValue Dword(int32_t number) {
    const auto bits = static_cast<uint32_t>(number);
    return {kRegDword, {}, {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)}};
}

FakeDesktop StartingDesktop() {
    FakeDesktop desktop;
    desktop.Windows = {{kSelf, L"Deskglide", {50, 50, 60, 60}},
                       {WindowHandle{0x101}, L"Untitled - Notepad", {100, 100, 400, 300}},
                       {WindowHandle{0x102}, L"Hidden", {10, 10, 20, 20}, false},
                       {WindowHandle{0x103}, L"Mail", {900, 600, 1200, 900}},
                       {WindowHandle{0x104}, L"", {30, 30, 40, 40}},
                       {WindowHandle{0x105}, L"X", {-50, 20, 350, 320}}};
    desktop.DesktopKey = {{L"WallpaperOriginX", Sz(L"3")},
                          {L"WallpaperOriginY", Sz(L"10")},
                          {L"Wallpaper", Sz(L" C:\\pic.bmp ")}};
    return desktop;
}

Change List(const wchar_t* path, const std::optional<std::string>& bytes,
            FileTest test = FileTest::Present) {
    return [=](FakeDesktop& d) { d.Files[path] = {bytes, test}; };
}
Change Stored(const wchar_t* name, const RegistryValue& value) {
    return [=](FakeDesktop& d) { d.DesktopKey[name] = value; };
}
Change Window(char name, Rect bounds, WindowState state = {}, std::optional<Rect> frame = {},
              std::optional<RestorePlace> restore = {}) {
    return [=](FakeDesktop& d) {
        FakeDesktop::Window& window = d.Windows[std::string(kNames).find(name)];
        window = {window.Handle, window.Title, bounds, true, state, frame, false, restore};
    };
}
constexpr Rect kParked{-32000, -32000, -31840, -31976};  // where minimised windows are
// Where a minimised or maximised window comes back to, and what the user will see of it there.
RestorePlace Restore(Rect bounds, std::optional<Rect> frame = {}, bool maximised = false) {
    return {bounds, frame.value_or(bounds), maximised};
}
Change Title(char name, const std::wstring& title) {
    return [=](FakeDesktop& d) { d.Windows[std::string(kNames).find(name)].Title = title; };
}
// One monitor with the taskbar along its top.
const Change kTopTaskbar = [](FakeDesktop& d) {
    d.WorkArea = {0, 40, 1024, 768};
    d.Displays = {{{0, 0, 1024, 768}, d.WorkArea}};
};
// Two monitors of 1024 x 768 side by side, with a strip of 28 along the bottom of both; and a
// smaller one left of and above the primary: the desktops of the Wine table's two-head rows.
const Change kSideBySide = [](FakeDesktop& d) {
    d.WorkArea = {0, 0, 1024, 740};
    d.Displays = {{{0, 0, 1024, 768}, d.WorkArea}, {{1024, 0, 2048, 768}, {1024, 0, 2048, 740}}};
};
const Change kLeftAbove = [](FakeDesktop& d) {
    d.WorkArea = {0, 0, 1024, 740};
    d.Displays = {{{0, 0, 1024, 768}, d.WorkArea}, {{-800, -300, 0, 300}, {-800, -300, 0, 300}}};
};
// Besides the starting desktop's, a window for every other rule: cloaked (a), click-through (b),
// a frameless tool window (c), full screen (d), maximised in place (e), not answering (f), of a
// program with more rights (g), minimised with a restore place off the screen (h) or on it (i),
// maximised off the monitor (j), of a DPI of its own (k), and the desktop (l).
const Change kEveryRule = [](FakeDesktop& d) {
    const auto add = [&](Rect bounds, WindowState state = {}) {
        const size_t i = d.Windows.size();
        d.Windows.push_back(
            {static_cast<WindowHandle>(0x100 + i), {wchar_t(kNames[i])}, bounds, true, state});
        return &d.Windows.back();
    };
    add({0, 0, 10, 10})->Cloaked = true;
    add({0, 0, 10, 10}, {.Layered = true, .Transparent = true})->Title = L"b\t\r";
    add({0, 0, 10, 10}, {.ToolWindow = true});
    add({0, 0, 1024, 768});
    add({-4, -4, 1028, 752}, {.Maximised = true});
    add({900, 600, 1200, 900})->Program.Answers = false;
    add({900, 600, 1200, 900})->Program.MoreRights = true;
    add(kParked, {.Minimised = true})->Restore = Restore({3000, 100, 3300, 400});
    add(kParked, {.Minimised = true})->Restore = Restore({100, 100, 400, 300});
    add({3000, -4, 4032, 752}, {.Maximised = true})->Restore = Restore({100, 100, 400, 300});
    add({2000, 100, 2400, 400})->Dpi = 144;
    d.Shell = add({0, 0, 1024, 768})->Handle;
};
// A 1920 x 1080 primary above one at 144 DPI.
const Change kAbove144 = [](FakeDesktop& d) {
    d.Displays = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                  {{0, 1080, 1920, 2160}, {0, 1080, 1920, 2120}, 144}};
};
// A primary monitor of 1920 x 1080 with a monitor on each side, their taskbars 40 high.
const Change kThreeMonitors = [](FakeDesktop& d) {
    d.Displays = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                  {{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}},
                  {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1040}}};
};

struct Row {
    std::wstring args{};
    Point by{};                    // how far the windows that took part moved ...
    std::vector<Rect> after{};     // ... or where windows 0, 1 and 2 went: {x, y} keeps the size
    const char* tookPart = "012";  // in turn, each to the bottom of the stacking order
    bool shown = false;            // the information window was left open
    int status = 0;
    std::wstring error{};                    // what the error message says, in part
    std::optional<RegistryValue> originX{};  // the origins stored afterwards; none: unchanged
    std::optional<RegistryValue> originY{};
    const wchar_t* wallpaper = nullptr;  // the wallpaper re-applied; null: none
    std::optional<Point> restored{};     // where window 1's restore place went
    std::wstring plan{};  // what the dry run showed, in part, with | for tabs and \n for line ends
    std::vector<Change> change{};  // to the starting desktop
};

// The rectangle moved to have its top-left corner at `to`.
Rect MovedTo(const Rect& r, Point to) {
    const auto [x, y] = to;
    return to == Point(r.left, r.top) ? r
                                      : Rect{x, y, x + (r.right - r.left), y + (r.bottom - r.top)};
}

const std::vector<Rect> kGathered = {{100, 100}, {724, 448}, {0, 20}};

TEST(Runs, CommandLineDesktopAndListsInMovesStoredValuesAndStatusOut) {
    // clang-format off
    const Row rows[] = {
        // Without a mode letter nothing moves and nothing is written.
        {.args = L"", .tookPart = "", .shown = true},
        {.args = L"w e 100", .tookPart = "", .shown = true, .change = {List(kExclude, "Mail")}},
        // Asking for help or the version, and nothing else, shows the window: no letter counts, no list is read.
        {.args = L" --HELP ", .tookPart = "", .shown = true, .change = {List(kExclude, std::nullopt)}},
        {.args = L"/Version", .tookPart = "", .shown = true, .change = {List(kExclude, std::nullopt)}},
        {.args = L"-h 30", .by = {-30, 0}},
        // Steps: the last number is horizontal, the one before vertical; - turns both round.
        {.args = L"v", .by = {0, 50}},
        {.args = L"V 100", .by = {0, 100}},
        {.args = L"h- 30", .by = {-30, 0}},
        {.args = L"  vh 10 20  ", .by = {20, 10}},
        {.args = L"v -30", .by = {0, 30}},
        {.args = L"v 2,5", .by = {0, 2}, .change = {[](FakeDesktop& d) { d.Separator = L","; }}},
        {.args = L"vs", .by = {0, 184}, .change = {[](FakeDesktop& d) { d.WorkArea.bottom = 738; }}},
        {.args = L"vh 10 x", .by = {50, 10}},
        {.args = L"vh x 20", .by = {20, 20}},
        {.args = L"vh 1 2 3", .by = {3, 2}},
        {.args = L"h100", .by = {50, 0}},
        {.args = L"v  5", .by = {0, 5}},
        {.args = L"v\t5", .by = {0, 50}},
        {.args = L"v 1e2", .by = {0, 100}},
        {.args = L"v 7 50", .by = {0, 7}},
        {.args = L"vhs -10 30", .by = {-307, 74}, .change = {[](FakeDesktop& d) { d.WorkArea.bottom = 738; }}},
        {.args = L"vs", .by = {0, 258}, .change = {[](FakeDesktop& d) { d.WorkArea = {0, 10, 1024, 1030}; }}},
        // A per cent sign directly after a step makes both steps percentages, as s does.
        {.args = L"v 10%", .by = {0, 75}},
        {.args = L"vh 10% 20", .by = {205, 75}},
        // Gathering, on each axis: the far edge onto the work area's, unless the near edge would
        // then lie before the work area's; then the near edge onto it. Again, nothing changes.
        {.args = L"g", .after = kGathered},
        {.args = L"gv 40", .after = kGathered},
        {.args = L"g", .after = {{0, 0}, {724, 448}, {0, 0}},
         .change = {Window('0', {0, 10, 1100, 1000}), Window('2', {0, 0, 300, 990})}},
        {.args = L"g", .after = {{0, 0}, {-4, 36}, {0, 40}},
         .change = {kTopTaskbar, Window('0', {0, 0, 1024, 768}), Window('1', {100, 100, 1132, 836}, {.Maximised = true}, Rect{104, 104, 1128, 832}),
                    Window('2', {0, 0, 1024, 767})}},
        {.args = L"g", .after = {{-8, -8}, {724, 448}, {0, 20}}, .change = {Window('0', {-8, -8, 1032, 776})}},
        // Full screen first, maximised or not; maximised where maximising put it, whatever its
        // frame says; a restore place by what the user will see of it.
        {.args = L"g", .after = {{0, 0}, {-8, -8}, {-32000, -32000}},
         .change = {Window('0', {0, 0, 1024, 768}, {.Maximised = true}), Window('1', {-8, -8, 1032, 756}, {.Maximised = true}, Rect{-8, -8, 1032, 756}),
                    Window('2', kParked, {.Minimised = true}, {}, Restore({-7, 100, 293, 400}, Rect{0, 100, 286, 393}))}},
        // Windows as users keep them: maximised ones go back to where maximising puts them,
        // minimised ones stay parked while their restore place moves, topmost ones keep their
        // place in the stacking order, cloaked ones and the desktop itself stay.
        {.args = L"g", .after = {{-4, -4}, {-32000, -32000}, {0, 20}}, .restored = Point{724, 100},
         .change = {Window('0', {-4, -304, 1028, 452}, {.Maximised = true}, Rect{0, -300, 1024, 448}),
                    Window('1', kParked, {.Minimised = true}, {}, Restore({3000, 100, 3300, 400}, {}, true))}},
        {.args = L"v 30", .after = {{-4, 26}, {-32000, -32000}, {-50, 50}}, .restored = Point{900, 630},
         .change = {Window('0', {-4, -4, 1028, 752}, {.Maximised = true}), Window('1', kParked, {.Minimised = true}, {}, Restore({900, 600, 1200, 900}, {}, true))}},
        {.args = L"h- 30", .after = {{70, 100}, {870, 600}, {-80, 20}}, .tookPart = "12",
         .change = {Window('0', {100, 100, 400, 300}, {.Topmost = true})}},
        {.args = L"g", .after = {{-4, -4}, {724, 448}, {0, 20}}, .tookPart = "12",
         .change = {Window('0', {-4, -4, 1028, 752}, {.Maximised = true, .Topmost = true}, Rect{0, 0, 1024, 748})}},
        {.args = L"v", .by = {0, 50}, .tookPart = "12", .change = {[](FakeDesktop& d) { d.Shell = d.Windows[1].Handle; }}},
        {.args = L"v", .by = {0, 50}, .tookPart = "02", .change = {[](FakeDesktop& d) { d.Windows[3].Cloaked = true; }}},
        // Gathering goes by the visible frame: one the user sees whole on the work areas stays.
        {.args = L"g", .after = {{-7, 0}, {724, 448}, {-7, 20}},
         .change = {Window('0', {-7, 0, 505, 748}, {}, Rect{0, 0, 498, 741}),
                    Window('1', {900, 600, 1207, 907}, {}, Rect{907, 600, 1200, 900}),
                    Window('2', {-57, 20, 357, 327}, {}, Rect{-50, 20, 350, 320})}},
        {.args = L"v 30", .after = {{-7, 30}, {900, 630}, {-50, 50}},
         .change = {Window('0', {-7, 0, 505, 748}, {}, Rect{0, 0, 498, 741})}},
        // Several monitors: one the user sees whole stays, on one monitor or across two; the others
        // come onto the nearest monitor's work area, along one axis where that is enough.
        {.args = L"g", .after = {{1200, 100}, {1848, 100}, {1200, 590}},
         .change = {kSideBySide, Window('0', {1200, 100, 1400, 250}), Window('1', {1950, 100, 2150, 250}), Window('2', {1200, 700, 1400, 850})}},
        {.args = L"g", .after = {{1024, 0}, {1848, 100}, {700, 590}},
         .change = {kSideBySide, Window('0', {1024, 0, 2048, 768}), Window('1', {3000, 100, 3200, 250}), Window('2', {700, 700, 1300, 850})}},
        {.args = L"g", .after = {{-700, -200}, {-800, -200}, {-700, 150}},
         .change = {kLeftAbove, Window('0', {-700, -200, -500, -50}), Window('1', {-900, -200, -700, -50}), Window('2', {-700, 250, -500, 400})}},
        {.args = L"g", .after = {{3740, 940}, {1880, 100}, {100, 0}},
         .change = {kThreeMonitors, Window('0', {5000, 5000, 5100, 5100}), Window('1', {1880, 100, 2180, 400}),
                    Window('2', {100, -50, 500, 200})}},
        {.args = L"vs", .after = {{-1000, 287}, {900, 787}, {-50, 207}},
         .change = {kThreeMonitors, Window('0', {-1000, 100, -400, 500})}},
        // Maximised ones brought onto a monitor of another size are sized as maximising there would.
        {.args = L"g", .after = {{1912, -8, 3848, 1048}, {-1288, -8, 8, 992}, {-8, -8}}, .restored = Point{-1280, 100},
         .change = {kThreeMonitors, Window('0', {3832, -8, 6408, 1408}, {.Maximised = true}, Rect{3840, 0, 6400, 1400}),
                    Window('1', {-3008, -8, -1968, 756}, {.Maximised = true}, Rect{-3000, 0, -1976, 748}, Restore({-2900, 100, -2300, 500})),
                    Window('2', {-8, -8, 1928, 1048}, {.Maximised = true}, Rect{0, 0, 1920, 1040})}},
        // Onto a monitor of another DPI than the window had (its own, or its monitor's): rescaled,
        // placed once more; not within one.
        {.args = L"v 100", .after = {{100, 1100, 101, 1250}, {900, 700}, {-50, 120}}, .change = {kAbove144, Window('0', {100, 1000, 101, 1100})}},
        {.args = L"v- 100", .after = {{100, 1000, 500, 1100}, {100, 1400}, {-50, -80}},
         .change = {kAbove144, Window('0', {100, 1100, 700, 1250}), Window('1', {100, 1500, 400, 1700})}},
        {.args = L"g", .after = {{1320, 25, 1920, 475}, {900, 600}, {0, 20}}, .change = {Window('0', {1920, 100, 2320, 400}),
         [](FakeDesktop& d) { d.Displays = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144}}, d.Windows[1].Dpi = 96; }}},
        // Left alone: an overlay, a click-through window, a frameless tool window; moved: a palette, an on-screen keyboard.
        {.args = L"v 30", .tookPart = "",
         .change = {Window('0', {0, 0, 1024, 768}, {.NoActivate = true, .ToolWindow = true, .Layered = true}),
                    Window('1', {900, 600, 1200, 900}, {.Caption = true, .Layered = true, .Transparent = true}),
                    Window('2', {-50, 20, 350, 320}, {.ToolWindow = true})}},
        {.args = L"g", .after = {{100, 100}, {724, 448}, {-50, 20}}, .tookPart = "0",
         .change = {Window('0', {100, 100, 400, 300}, {.Caption = true, .ToolWindow = true, .Layered = true}),
                    Window('1', {900, 600, 1200, 900}, {.Topmost = true, .Caption = true, .NoActivate = true}),
                    Window('2', {-50, 20, 350, 320}, {.NoActivate = true})}},
        // Lists: e wins over i; entries match anywhere in a title, ignoring case.
        {.args = L"help me", .by = {50, 0}, .tookPart = "02", .change = {List(kExclude, "mail")}},
        {.args = L"ve 30", .by = {0, 30}, .tookPart = "12", .change = {List(kExclude, "notepad\r\n")}},
        {.args = L"vi 30", .by = {0, 30}, .tookPart = "1", .change = {List(kInclude, "MAIL"), List(kUserInclude, "x")}},
        {.args = L"vie 30", .by = {0, 30}, .tookPart = "02", .change = {List(kExclude, "Mail"), List(kInclude, "x")}},
        {.args = L"vi 30", .tookPart = "", .change = {List(kInclude, "zX\r\n")}},
        {.args = L"vi 30", .tookPart = "", .change = {List(kInclude, "")}},
        {.args = L"ve 30", .by = {0, 30}, .change = {List(kExclude, "")}},
        // Lines end at CR LF, LF or CR; a list that cannot be read stops the run before anything moves.
        {.args = L"ve 30", .by = {0, 30}, .tookPart = "0", .change = {List(kExclude, "Notepad \r\nx\nmail")}},
        {.args = L"ve 30", .by = {0, 30}, .tookPart = "0", .change = {List(kExclude, "mail\nx\n")}},
        {.args = L"vi 30", .by = {0, 30}, .tookPart = "12", .change = {List(kInclude, "mail\rx")}},
        {.args = L"viw 30", .tookPart = "", .status = 4,
         .error = L"Deskglide could not read the list C:\\Tools\\include.txt, so it did nothing.\n\nAccess is denied.",
         .change = {List(kInclude, std::nullopt)}},
        {.args = L"vi 30", .by = {0, 30}, .change = {List(kInclude, "mail", FileTest::Absent)}},
        // Where the exe's folder has none, the list in the user's own folder is read, by the same rules.
        {.args = L"ve 30", .by = {0, 30}, .tookPart = "12", .change = {List(kExclude, "mail", FileTest::Absent), List(kUserExclude, "notepad")}},
        {.args = L"ve 30", .tookPart = "", .status = 4, .error = L"C:\\Users\\Ann\\AppData\\Roaming\\Deskglide\\exclude.txt, so it did",
         .change = {List(kUserExclude, std::nullopt)}},
        {.args = L"vi 30", .by = {0, 30}, .tookPart = "1", .change = {List(kInclude, "mail", FileTest::Failed)}},
        // Marked lists are UTF-8 or UTF-16 (LE or BE); unmarked ones UTF-8 where they are valid UTF-8, else ANSI.
        {.args = L"vi 30", .by = {0, 30}, .tookPart = "1", .change = {List(kInclude, "\xEF\xBB\xBFmail")}},
        {.args = L"vi 30", .by = {0, 30}, .tookPart = "0", .change = {List(kInclude, "\xFF\xFE\xE4\0z\0"s), Title('0', L"Gr\xC4Z")}},
        {.args = L"vi 30", .by = {0, 30}, .tookPart = "0", .change = {List(kInclude, "\xFE\xFF\0\xE4\0z"s), Title('0', L"Gr\xC4Z")}},
        {.args = L"ve 30", .by = {0, 30}, .tookPart = "12", .change = {List(kExclude, "M\xC3\xBCller\r\n"), Title('0', L"M\xFCller Notes")}},
        {.args = L"ve 30", .by = {0, 30}, .tookPart = "12", .change = {List(kExclude, "M\xFCller\r\n"), Title('0', L"M\xFCller Notes")}},
        // The origin the mode selects moves after the windows, in the type it was stored in. The
        // wallpaper is re-applied where the system cannot tell what the desktop shows, or where it
        // shows the stored picture on every monitor, no slideshow and no Windows spotlight: not where
        // it would change that, nor where the system stopped answering part-way or no picture is stored.
        {.args = L"vw 25", .by = {0, 25}, .originY = Sz(L"35"), .wallpaper = kPicture,
         .change = {[](FakeDesktop& d) { d.Shown = ShownWallpaper{.Pictures = {L"c:\\PIC.bmp", L"C:\\pic.BMP"}}; }}},
        {.args = L"v-w 25", .by = {0, -25}, .originY = Sz(L"-15"),
         .change = {[](FakeDesktop& d) { d.Shown = ShownWallpaper{.Pictures = {kPicture, L"C:\\other.bmp"}}; }}},
        {.args = L"vhw 5 7", .by = {7, 5}, .originX = Sz(L"10"), .change = {[](FakeDesktop& d) { d.Shown = ShownWallpaper{.Slideshow = true, .Pictures = {kPicture}}; }}},
        {.args = L"vw 5", .by = {0, 5}, .originY = Sz(L"15"), .change = {[](FakeDesktop& d) { d.Shown = ShownWallpaper{.Spotlight = true, .Pictures = {kPicture}}; }}},
        {.args = L"vw 5", .by = {0, 5}, .originY = Sz(L"15"), .change = {[](FakeDesktop& d) { d.Shown = ShownWallpaper{.Pictures = {kPicture}, .Partial = true}; }}},
        {.args = L"gw", .after = kGathered, .originX = Sz(L"0"), .originY = Dword(0), .wallpaper = kPicture,
         .change = {Stored(L"WallpaperOriginY", Dword(7))}},
        {.args = L"gvw 30", .after = kGathered, .originY = Sz(L"40"), .wallpaper = kPicture},
        {.args = L"ghw 30", .after = kGathered, .originX = Sz(L"33"), .wallpaper = kPicture},
        {.args = L"v-w 1", .by = {0, -1}, .originY = Dword(-11), .wallpaper = kPicture, .change = {Stored(L"WallpaperOriginY", Dword(-10))}},
        {.args = L"vw 1", .by = {0, 1}, .originY = Sz(L"-1"), .wallpaper = kPicture, .change = {Stored(L"WallpaperOriginY", {kRegBinary, {}, "\xFE\xFF"})}},
        {.args = L"vw 1", .by = {0, 1}, .originY = Sz(L"256"), .wallpaper = kPicture, .change = {Stored(L"WallpaperOriginY", {kRegBinary, {}, "\xFF"})}},
        {.args = L"vw 1", .by = {0, 1}, .originY = Sz(L"6"), .wallpaper = kPicture, .change = {Stored(L"WallpaperOriginY", {kRegBinary, {}, "\x05\0\1\2"s})}},
        {.args = L"vw 1", .by = {0, 1}, .originY = Sz(L"8"), .wallpaper = L"C:\\\x141\xF3" L"d\x17A\\pic.bmp",
         .change = {Stored(L"WallpaperOriginY", Sz(L" 7 ")), Stored(L"Wallpaper", {kRegExpandSz, L"C:\\\x141\xF3" L"d\x17A\\pic.bmp ", {}})}},
        {.args = L"vw 1", .by = {0, 1}, .originY = Sz(L"11"), .change = {[](FakeDesktop& d) { d.DesktopKey.erase(L"Wallpaper"); }}},
        // A dry run tells what the run would do, and why not where not; it moves and writes nothing.
        {.args = L"--DRY-RUN gew", .tookPart = "", .plan = L"Window|Program|Where|Outcome|Detail\n"
         L"Deskglide|app.exe|50,50 10x10|stays|Deskglide's own window\nUntitled - Notepad|app.exe|100,100 300x200|stays|seen whole on the screen\n"
         L"Mail|app.exe|900,600 300x300|stays|excluded by the line `Mail` of C:\\Tools\\exclude.txt\n|app.exe|30,30 10x10|stays|no title\n"
         L"X|app.exe|-50,20 400x300|moves|to 0,20\na|app.exe|0,0 10x10|stays|hidden by Windows (on another virtual desktop)\n"
         L"b  |app.exe|0,0 10x10|stays|clicks go through it (an overlay)\nc|app.exe|0,0 10x10|stays|a bar, dock or widget without a title bar\n"
         L"d|app.exe|0,0 1024x768|stays|full screen\ne|app.exe|maximised, -4,-4 1032x756|stays|maximised where maximising puts it\n"
         L"f|app.exe|900,600 300x300|stays|not answering: its move is left to its program\ng|app.exe|900,600 300x300|stays|runs as administrator\n"
         L"h|app.exe|minimised, comes back at 3000,100 300x300|moves|comes back at 724,100 300x300\n"
         L"i|app.exe|minimised, comes back at 100,100 300x200|stays|already there\nj|app.exe|maximised, 3000,-4 1032x756|moves|to 0,0 1024x748\n"
         L"k|app.exe|2000,100 400x300|moves|to 624,100, then once more for the DPI there\nl|app.exe|0,0 1024x768|stays|the desktop itself\n"
         L"(hidden windows: 1)|||stays|not visible\n(wallpaper)||WallpaperOriginX 3|changes|to 0\n(wallpaper)||WallpaperOriginY 10|changes|to 0\n"
         L"(wallpaper)||C:\\pic.bmp|re-applied|\n", .change = {List(kExclude, "Mail"), kEveryRule}},
        {.args = L"vw /Dry-Run i", .tookPart = "", .status = 3, .plan = L"Untitled - Notepad|app.exe|100,100 300x200|stays|not named in "
         L"C:\\Tools\\include.txt\nMail|app.exe|900,600 300x300|moves|to 900,650\n|app.exe|30,30 10x10|stays|no title\n"
         L"X|app.exe|-50,20 400x300|stays|not named in C:\\Tools\\include.txt\n(hidden windows: 1)|||stays|not visible\n(the run)|||stops|"
         L"The wallpaper origin WallpaperOriginY (in HKEY_CURRENT_USER\\Control Panel\\Desktop) holds \"abc\", which is not a number.  To repair it",
         .change = {List(kInclude, "mail"), Stored(L"WallpaperOriginY", Sz(L"abc")),
                    [](FakeDesktop& d) { d.Displays = {{{0, 0, 1024, 768}, d.WorkArea, 144}}; }}},
        {.args = L"v --dry-runx 30", .by = {0, -30}},
        {.args = L"w -dry-run", .tookPart = "", .plan = L"(the run)|||moves nothing|no mode letter (g, v or h): the information window opens\n"},
        {.args = L"v 30", .by = {0, 30}, .tookPart = "02", .status = 7, .change = {[](FakeDesktop& d) { d.Windows[3].Program.MoreRights = true; }}},
        // Positions reach the ends of the 32-bit range, and stop there.
        {.args = L"v 47", .by = {0, 47}, .change = {Window('1', {900, 2147483600, 1200, 2147483600})}},
        {.args = L"h- 48", .by = {-48, 0}, .change = {Window('2', {-2147483600, 20, -2147483600, 20})}},
        // An error stops the run where it happens; what was done stays done.
        {.args = L"vw 1", .by = {0, 1}, .status = 3,
         .error = L"The wallpaper origin WallpaperOriginY (in HKEY_CURRENT_USER\\Control Panel\\Desktop) holds a value of type "
                  L"REG_MULTI_SZ, where a number (REG_DWORD or REG_SZ) should be.\n\nTo repair it, set it to 0 with Registry Editor, or "
                  L"run \"deskglide.exe gw\", which sets both origins to 0 and also gathers the windows.", .change = {Stored(L"WallpaperOriginY", {7, L"", "1"})}},
        {.args = L"vw 1", .by = {0, 1}, .status = 3, .error = L"Desktop) is missing or empty, where", .change = {Stored(L"WallpaperOriginY", Sz(L" "))}},
        {.args = L"vw 1", .by = {0, 1}, .status = 3, .error = L"Desktop) holds \"abc\", which is not a number.\n\nTo repair it",
         .change = {Stored(L"WallpaperOriginY", Sz(L"abc"))}},
        {.args = L"vw 1", .by = {0, 1}, .status = 2, .error = L"Desktop), moved from 2147483647 by 1, would be 2147483648, which is "
         L"out of range: numbers must lie between -2147483648 and 2147483647.\n\nTo repair it", .change = {Stored(L"WallpaperOriginY", Dword(2147483647))}},
        {.args = L"3000000000", .tookPart = "", .status = 2, .error = L"3000000000"},
        {.args = L"vs 3000000", .tookPart = "", .status = 2, .error = L"percentage"},
        {.args = L"h -2147483648", .tookPart = "", .status = 2, .error = L"The distance, reversed by the minus sign, would be 2147483648,"},
        {.args = L"vw 1000", .by = {0, 1000}, .tookPart = "0", .status = 2,
         .error = L"window \"" + std::wstring(40, L'x') + L"...\" (255 characters) would be 2147484000",
         .change = {Window('1', {900, 2147483000, 1200, 2147483600}), Title('1', std::wstring(300, L'x'))}},
        {.args = L"g", .tookPart = "0", .status = 2, .error = L"gathered vertical position of the window \"Mail\" would be -4294965352,",
         .change = {Window('1', {900, -2147483000, 1200, 100}, {}, Rect{900, 2147483000, 1200, 2147483100})}},
        {.args = L"v", .by = {0, 50}, .tookPart = "0", .status = 2, .error = L"restored bottom edge of the window \"Mail\" would be 2147483650,",
         .change = {Window('1', kParked, {.Minimised = true}, {}, Restore({0, -2147483000, 10, 2147483600}))}},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "deskglide.exe " << row.args);
        FakeDesktop desktop = StartingDesktop();
        desktop.Arguments = row.args;
        for (const Change& change : row.change) {
            change(desktop);
        }
        const FakeDesktop before = desktop;
        EXPECT_EQ(RunLoadEvent(desktop, kSelf), row.status);
        EXPECT_EQ(desktop.Closed, !row.shown);
        EXPECT_EQ(desktop.Errors.size(), row.error.empty() ? 0u : 1u);
        for (const std::wstring& error : desktop.Errors) {
            EXPECT_NE(error.find(row.error), std::wstring::npos) << error;
        }
        std::string stack;
        std::string expectedStack;
        for (size_t i = 0; i < before.Windows.size(); ++i) {
            stack += kNames[static_cast<size_t>(desktop.Windows[i].Handle) - 0x100];
            const char name = kNames[i];
            const bool tookPart = std::string(row.tookPart).find(name) != std::string::npos;
            expectedStack += tookPart ? "" : std::string(1, name);
            const FakeDesktop::Window& was = before.Windows[i];
            const Rect r = was.Bounds;
            const Rect to = std::isdigit(name) && !row.after.empty()
                                ? row.after[static_cast<size_t>(name - '0')]
                                : Rect{r.left + (tookPart ? row.by.first : 0),
                                       r.top + (tookPart ? row.by.second : 0)};
            EXPECT_EQ(desktop.At(was.Handle).Bounds,
                      to.right == 0 && to.bottom == 0 ? MovedTo(r, {to.left, to.top}) : to)
                << name;
            const bool restored = name == '1' && row.restored;
            const auto& restore = desktop.At(was.Handle).Restore;
            EXPECT_EQ(restore ? restore->Bounds : Rect{},
                      restored ? MovedTo(was.Restore->Bounds, *row.restored)
                               : (was.Restore ? was.Restore->Bounds : Rect{}))
                << name;
            EXPECT_EQ(restore && restore->Maximised, was.Restore && was.Restore->Maximised);
        }
        EXPECT_EQ(stack, expectedStack + row.tookPart);
        auto stored = before.DesktopKey;
        stored[L"WallpaperOriginX"] = row.originX.value_or(stored[L"WallpaperOriginX"]);
        stored[L"WallpaperOriginY"] = row.originY.value_or(stored[L"WallpaperOriginY"]);
        EXPECT_TRUE(desktop.DesktopKey == stored);
        EXPECT_EQ(desktop.AppliedWallpaper.value_or(L"(none)"),
                  row.wallpaper ? row.wallpaper : L"(none)");
        std::wstring plan = desktop.Plan.value_or(L"(none)");
        std::replace(plan.begin(), plan.end(), L'\t', L'|');
        std::erase(plan, L'\r');
        EXPECT_NE(plan.find(row.plan.empty() ? L"(none)" : row.plan), std::wstring::npos) << plan;
    }
}

}  // namespace
