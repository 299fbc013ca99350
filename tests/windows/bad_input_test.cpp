// Input a user or the desktop can hand the real exe: each row states the run's whole outcome.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "harness.h"
#include "registry_fixture.h"

namespace {

using namespace std::string_literals;

// What a run came to, with any error box or information window closed on the way.
struct Outcome {
    DWORD status = 0;
    bool timedOut = false;
    bool boxShown = false;
    std::wstring boxCaption;
    std::wstring boxText;
    bool boxButtonOnScreen = false;
    bool infoWindowShown = false;
};

std::wstring FullWindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The visible top-level window of that process and class, without waiting.
HWND FindProcessWindow(DWORD process, const wchar_t* className) {
    struct Search {
        DWORD process;
        const wchar_t* className;
        HWND found;
    } search{process, className, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->process && IsWindowVisible(window) &&
                ClassName(window) == s->className) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool IsOnScreen(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect.left >= 0 && rect.top >= 0 && rect.right <= GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

Outcome RunToEnd(const Sandbox& sandbox, const std::wstring& arguments, DWORD timeoutMs = 30000) {
    Outcome outcome;
    Process process(sandbox.Exe(), arguments);
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process.Id());
    const DWORD deadline = GetTickCount() + timeoutMs;
    while (handle != nullptr && GetTickCount() < deadline &&
           MsgWaitForMultipleObjects(1, &handle, FALSE, 10, QS_ALLINPUT) != WAIT_OBJECT_0) {
        PumpMessages(0);
        if (const HWND box = FindProcessWindow(process.Id(), L"#32770")) {
            if (!outcome.boxShown) {
                outcome.boxCaption = FullWindowText(box);
                outcome.boxText = FullWindowText(GetDlgItem(box, 0xFFFF));
                outcome.boxButtonOnScreen = IsOnScreen(GetDlgItem(box, IDOK));
            }
            outcome.boxShown = true;
            PostMessageW(box, WM_CLOSE, 0, 0);
        }
        if (const HWND main = FindProcessWindow(process.Id(), L"DeskglideMain")) {
            outcome.infoWindowShown = true;
            PostMessageW(main, WM_CLOSE, 0, 0);
        }
    }
    if (handle != nullptr) {
        CloseHandle(handle);
    }
    const DWORD now = GetTickCount();
    const RunResult result = process.Wait(now < deadline ? deadline - now : 0);
    outcome.status = result.exitCode;
    outcome.timedOut = result.timedOut;
    return outcome;
}

// What a row expects besides the window positions.
struct Expected {
    DWORD status = 0;
    // Empty when no error box may appear; otherwise texts the box must name.
    std::vector<std::wstring> boxNames;
    bool infoWindow = false;
};

const Expected kMoved{};
const Expected kInfoWindow{0, {}, true};

Expected Overflow(std::vector<std::wstring> names) {
    names.emplace_back(L"out of range");
    return {2, std::move(names), false};
}

Expected Conversion(std::vector<std::wstring> names) { return {3, std::move(names), false}; }

void ExpectOutcome(const Outcome& outcome, const Expected& expected, const std::string& label) {
    const std::string box = testing::PrintToString(outcome.boxText.substr(0, 400));
    EXPECT_FALSE(outcome.timedOut) << label;
    EXPECT_EQ(outcome.status, expected.status) << label << ", box: " << box;
    EXPECT_EQ(outcome.boxShown, !expected.boxNames.empty()) << label << ", box: " << box;
    if (outcome.boxShown) {
        EXPECT_EQ(outcome.boxCaption, L"Deskglide") << label;
        EXPECT_TRUE(outcome.boxButtonOnScreen)
            << label << ": the box's OK button is off the screen";
    }
    for (const std::wstring& name : expected.boxNames) {
        EXPECT_NE(outcome.boxText.find(name), std::wstring::npos)
            << label << ": the box does not name " << testing::PrintToString(name) << ": " << box;
    }
    EXPECT_EQ(outcome.infoWindowShown, expected.infoWindow) << label;
}

using DesktopValues = std::array<std::optional<RawValue>, kDesktopValueCount>;

DesktopValues ReadDesktopValues() {
    DesktopValues values;
    for (size_t i = 0; i < kDesktopValueCount; ++i) {
        values[i] = ReadRaw(kDesktopKey, kDesktopValueNames[i]);
    }
    return values;
}

// What the program writes: a signed 32-bit integer in plain decimal, no leading zeros or plus.
bool IsInt32DecimalText(const std::optional<std::wstring>& text) {
    if (!text || text->empty() || text->size() > 11) {
        return false;
    }
    const bool negative = (*text)[0] == L'-';
    const std::wstring digits = text->substr(negative ? 1 : 0);
    if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos ||
        (digits[0] == L'0' && (digits.size() > 1 || negative))) {
        return false;
    }
    const int64_t value = std::stoll(*text);
    return value >= INT32_MIN && value <= INT32_MAX;
}

// Every desktop value is as it was, or holds decimal text of a 32-bit integer. A run that
// re-applies the wallpaper may leave the path it applied, which the system stores.
void ExpectDesktopValuesSound(const DesktopValues& before, const std::string& label,
                              const std::optional<std::wstring>& reappliedWallpaper) {
    for (size_t i = 0; i < kDesktopValueCount; ++i) {
        const wchar_t* name = kDesktopValueNames[i];
        if (ReadRaw(kDesktopKey, name) == before[i]) {
            continue;
        }
        const auto text = ReadText(name);
        if (i == 0 && reappliedWallpaper && text == reappliedWallpaper) {
            continue;
        }
        EXPECT_TRUE(IsInt32DecimalText(text))
            << label << ": " << testing::PrintToString(std::wstring(name)) << " now holds "
            << (text ? testing::PrintToString(text->substr(0, 100)) : "no text");
    }
}

constexpr POINT kNotepadAt{100, 100};
constexpr POINT kOtherAt{300, 200};

POINT Moved(POINT from, int dx, int dy) { return {from.x + dx, from.y + dy}; }

// A run with two windows in place: one a list can name, and another.
struct Row {
    std::string label;
    std::wstring arguments;
    Expected expected;
    POINT notepad;
    POINT other;
};

class BadInput : public testing::Test {
  protected:
    void SetUp() override {
        const RECT area = WorkArea();
        ASSERT_EQ(area.right, 1024) << "the tests expect the 1024x748 desktop with a taskbar";
        ASSERT_EQ(area.bottom, 748);
        WriteText(L"Wallpaper", L"");
        WriteText(L"WallpaperOriginX", L"0");
        WriteText(L"WallpaperOriginY", L"10");
    }

    void Check(const Row& row, const std::optional<std::wstring>& reappliedWallpaper = {}) {
        const DesktopValues before = ReadDesktopValues();
        TestWindow notepad(L"Untitled - Notepad", kNotepadAt.x, kNotepadAt.y, 200, 150);
        TestWindow other(L"Deskglide bad input", kOtherAt.x, kOtherAt.y, 200, 150);
        const Outcome outcome = RunToEnd(sandbox_, row.arguments);
        ExpectOutcome(outcome, row.expected, row.label);
        EXPECT_EQ(notepad.Position(), row.notepad) << row.label;
        EXPECT_EQ(other.Position(), row.other) << row.label;
        ExpectDesktopValuesSound(before, row.label, reappliedWallpaper);
    }

    std::wstring ListPath(const wchar_t* name) const { return sandbox_.Folder() + L"\\" + name; }

    void RemoveLists() const {
        for (const wchar_t* name : {L"exclude.txt", L"include.txt"}) {
            const std::wstring path = ListPath(name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
            RemoveDirectoryW(path.c_str());
        }
    }

    // The longest argument text that still fits CreateProcess's 32767-character command line,
    // after the quoted exe path and a space.
    size_t ArgumentRoom() const { return 32767 - 1 - (sandbox_.Exe().size() + 3); }

    SavedDesktopValues saved_;
    Sandbox sandbox_;
};

// `head`, then `fill` repeated, then `tail`: exactly `length` characters.
std::wstring Padded(const std::wstring& head, const std::wstring& fill, const std::wstring& tail,
                    size_t length) {
    std::wstring text = head;
    while (text.size() + fill.size() + tail.size() <= length) {
        text += fill;
    }
    text.append(length - text.size() - tail.size(), fill.back());
    return text + tail;
}

TEST_F(BadInput, ACommandLineAtTheLengthLimitIsReadWhole) {
    const size_t room = ArgumentRoom();
    const Row rows[] = {
        {"16000 numbers: the last two are the steps", Padded(L"vh", L" 1", L" 7 9", room), kMoved,
         Moved(kNotepadAt, 9, 7), Moved(kOtherAt, 9, 7)},
        {"a huge word after the step", Padded(L"v 30 ", L"x", L"", room), kMoved,
         Moved(kNotepadAt, 0, 30), Moved(kOtherAt, 0, 30)},
        {"a huge number", Padded(L"v ", L"1", L"", room), Overflow({L"The distance"}), kNotepadAt,
         kOtherAt},
        {"a huge number that is 30 after its leading zeros", Padded(L"v ", L"0", L"30", room),
         kMoved, Moved(kNotepadAt, 0, 30), Moved(kOtherAt, 0, 30)},
        {"a huge exponent", Padded(L"v 1e", L"9", L"", room), Overflow({L"The distance"}),
         kNotepadAt, kOtherAt},
        {"zero with a huge exponent", Padded(L"v 0e", L"9", L"", room), kMoved, kNotepadAt,
         kOtherAt},
        {"a huge negative exponent rounds to 0", Padded(L"v 5e-", L"9", L"", room), kMoved,
         kNotepadAt, kOtherAt},
        {"spaces between the letter and the step", Padded(L"v", L" ", L"30", room), kMoved,
         Moved(kNotepadAt, 0, 30), Moved(kOtherAt, 0, 30)},
        // A tab is part of a token, so "v<tabs>30" is one word and the steps keep their default.
        {"tabs between the letter and the step", Padded(L"v", L"\t", L"30", room), kMoved,
         Moved(kNotepadAt, 0, 50), Moved(kOtherAt, 0, 50)},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(row.arguments.size(), room);
        Check(row);
    }
}

// Letters count after lowering in the user's locale: only what lowers to an ASCII option letter
// is one, and only ASCII digits make numbers.
TEST_F(BadInput, NonAsciiTextOnTheCommandLine) {
    // Whether the dotted capital I lowers to i is the locale's call (Wine 8 leaves it as it is).
    wchar_t lowered[4] = {};
    LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, L"\u0130", 1, lowered, 4);
    const bool dottedIIsAnI = std::wstring(lowered).find(L'i') != std::wstring::npos;
    sandbox_.WriteFile(L"exclude.txt", "notepad");
    sandbox_.WriteFile(L"include.txt", "notepad");
    const Row rows[] = {
        {"E reads the exclude list", L"vE 30", kMoved, kNotepadAt, Moved(kOtherAt, 0, 30)},
        {"an accented E is no e", L"v\u00C9 30", kMoved, Moved(kNotepadAt, 0, 30),
         Moved(kOtherAt, 0, 30)},
        {"a dotted capital I reads the include list only if it lowers to i", L"v\u0130 30", kMoved,
         Moved(kNotepadAt, 0, 30), dottedIIsAnI ? kOtherAt : Moved(kOtherAt, 0, 30)},
        {"a fullwidth V is no mode letter", L"\uFF36 30", kInfoWindow, kNotepadAt, kOtherAt},
        {"a roman numeral five is no mode letter", L"\u2164 30", kInfoWindow, kNotepadAt, kOtherAt},
        {"a fullwidth S is no percent letter", L"v\uFF33 10", kMoved, Moved(kNotepadAt, 0, 10),
         Moved(kOtherAt, 0, 10)},
        {"a CJK word before the step", L"v \u65E5\u672C\u8A9E 30", kMoved, Moved(kNotepadAt, 0, 30),
         Moved(kOtherAt, 0, 30)},
        {"fullwidth digits are no number", L"v \uFF13\uFF10", kMoved, Moved(kNotepadAt, 0, 50),
         Moved(kOtherAt, 0, 50)},
        {"a no-break space does not separate", L"v\u00A030", kMoved, Moved(kNotepadAt, 0, 50),
         Moved(kOtherAt, 0, 50)},
        {"an ideographic space is part of the number's token", L"v 30\u3000", kMoved,
         Moved(kNotepadAt, 0, 50), Moved(kOtherAt, 0, 50)},
        {"a character outside the BMP", L"v \U0001F600 30", kMoved, Moved(kNotepadAt, 0, 30),
         Moved(kOtherAt, 0, 30)},
        {"a lone surrogate", L"v \xD800 30"s, kMoved, Moved(kNotepadAt, 0, 30),
         Moved(kOtherAt, 0, 30)},
    };
    for (const Row& row : rows) {
        Check(row);
    }
}

TEST_F(BadInput, NumbersOutOfRangeStopTheRunBeforeAnythingMoves) {
    const Row rows[] = {
        {"the step", L"v 3000000000", Overflow({L"The distance", L"3000000000"}), kNotepadAt,
         kOtherAt},
        {"a negative step", L"h -2147483649", Overflow({L"The distance", L"-2147483649"}),
         kNotepadAt, kOtherAt},
        {"the vertical percentage product", L"vs 3000000",
         Overflow({L"vertical percentage", L"2244000000"}), kNotepadAt, kOtherAt},
        {"the horizontal percentage product", L"vs 10 3000000",
         Overflow({L"horizontal percentage", L"3072000000"}), kNotepadAt, kOtherAt},
        {"a negative percentage product", L"hs 10 -3000000", Overflow({L"horizontal percentage"}),
         kNotepadAt, kOtherAt},
        {"the vertical position sum", L"v 2147483647",
         Overflow({L"The new vertical position of the window"}), kNotepadAt, kOtherAt},
        {"the horizontal position sum", L"h 2147483647",
         Overflow({L"The new horizontal position of the window"}), kNotepadAt, kOtherAt},
        // -1 times the smallest 32-bit step has no 32-bit value.
        {"the reversed smallest step", L"v- -2147483648",
         Overflow({L"The new vertical position of the window"}), kNotepadAt, kOtherAt},
    };
    for (const Row& row : rows) {
        Check(row);
    }
}

// Wine keeps window positions within 16 bits, so a window can get no nearer to the 32-bit limit
// than this; a step puts the sum exactly at the limit or one past it.
TEST_F(BadInput, AWindowAtTheSystemsCoordinateLimit) {
    const struct {
        const char* label;
        int top;
        const wchar_t* arguments;
        Expected expected;
    } rows[] = {
        {"a sum at the largest value", 32767, L"v 2147450880", kMoved},
        {"a sum one past the largest value", 32767, L"v 2147450881",
         Overflow({L"The new vertical position of the window \"Near the limit\"", L"2147483648"})},
        {"a sum at the smallest value", -32768, L"v- 2147450880", kMoved},
        {"a sum one past the smallest value", -32768, L"v- 2147450881",
         Overflow({L"The new vertical position of the window \"Near the limit\"", L"-2147483649"})},
    };
    for (const auto& row : rows) {
        const DesktopValues before = ReadDesktopValues();
        TestWindow window(L"Near the limit", 100, row.top, 200, 150);
        ASSERT_EQ(window.Position(), (POINT{100, row.top}));
        const Outcome outcome = RunToEnd(sandbox_, row.arguments);
        ExpectOutcome(outcome, row.expected, row.label);
        // Where the run may move it, the system keeps it at its own limit.
        EXPECT_EQ(window.Position(), (POINT{100, row.top})) << row.label;
        ExpectDesktopValuesSound(before, row.label, std::nullopt);
    }
}

// Bytes that never form a CR LF, so that they split into no short entry by chance.
std::string Garbage(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
        if (byte == '\r') {
            byte = '\x0E';
        }
    }
    return bytes;
}

// `count` lines no window title contains, each `width` characters.
std::string UnmatchedLines(size_t count, size_t width) {
    std::string text;
    text.reserve(count * (width + 2));
    for (size_t i = 0; i < count; ++i) {
        std::string line = "zq" + std::to_string(i);
        line.resize(width, 'z');
        text += line + "\r\n";
    }
    return text;
}

std::string Utf16Le(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

TEST_F(BadInput, ListFilesOfAnySizeOrContent) {
    enum class Kind { File, Folder, Hidden, Locked };
    const std::string half = UnmatchedLines(5000, 1000);  // 5 MB
    const struct {
        const char* label;
        const wchar_t* name;
        Kind kind;
        std::string bytes;
        const wchar_t* arguments;
        POINT notepad;
        POINT other;
    } rows[] = {
        {"10 MB, the fragment in the middle", L"exclude.txt", Kind::File,
         half + "notepad\r\n" + half, L"ve 30", kNotepadAt, Moved(kOtherAt, 0, 30)},
        {"10 MB in one line", L"include.txt", Kind::File, std::string(10 << 20, 'n'), L"vi 30",
         kNotepadAt, kOtherAt},
        {"200,000 lines, the fragment last", L"include.txt", Kind::File,
         UnmatchedLines(200000, 8) + "NOTEPAD", L"vi 30", Moved(kNotepadAt, 0, 30), kOtherAt},
        {"binary garbage around the fragment", L"include.txt", Kind::File,
         Garbage(1 << 20, 1) + "\r\nnotepad\r\n" + Garbage(1 << 20, 2), L"vi 30",
         Moved(kNotepadAt, 0, 30), kOtherAt},
        {"a UTF-8 mark, then invalid sequences", L"include.txt", Kind::File,
         "\xEF\xBB\xBF\xC0\xAF\xED\xA0\x80\xF8\x88\x80\x80\x80\xFF\r\nnotepad\r\n\xE2\x82",
         L"vi 30", Moved(kNotepadAt, 0, 30), kOtherAt},
        {"a UTF-16 mark, lone surrogates and an odd byte", L"include.txt", Kind::File,
         "\xFF\xFE"s + Utf16Le(L"\xDC00\xD800\r\nnotepad\r\n\xD800"s) + "\x41", L"vi 30",
         Moved(kNotepadAt, 0, 30), kOtherAt},
        // Titles hold no NUL, so an entry with one never matches; its neighbours still do.
        {"a NUL entry after a good one", L"include.txt", Kind::File, "notepad\r\nbad\0input"s,
         L"vi 30", Moved(kNotepadAt, 0, 30), kOtherAt},
        {"a NUL entry before a good one", L"include.txt", Kind::File,
         "\0\r\nbad\0input\r\nnotepad"s, L"vi 30", Moved(kNotepadAt, 0, 30), kOtherAt},
        {"a title's prefix followed by NUL", L"exclude.txt", Kind::File, "deskglide\0\r\nnotepad"s,
         L"ve 30", kNotepadAt, Moved(kOtherAt, 0, 30)},
        {"LF line ends make one entry", L"include.txt", Kind::File, "zq\nnotepad\n", L"vi 30",
         kNotepadAt, kOtherAt},
        {"a folder named exclude.txt", L"exclude.txt", Kind::Folder, "", L"ve 30",
         Moved(kNotepadAt, 0, 30), Moved(kOtherAt, 0, 30)},
        {"a hidden include.txt", L"include.txt", Kind::Hidden, "notepad", L"vi 30",
         Moved(kNotepadAt, 0, 30), Moved(kOtherAt, 0, 30)},
        // It exists but cannot be read: an empty list, so include mode moves nothing.
        {"an include.txt another program holds open", L"include.txt", Kind::Locked, "notepad",
         L"vi 30", kNotepadAt, kOtherAt},
    };
    for (const auto& row : rows) {
        RemoveLists();
        const std::wstring path = ListPath(row.name);
        HANDLE held = INVALID_HANDLE_VALUE;
        if (row.kind == Kind::Folder) {
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        } else {
            sandbox_.WriteFile(row.name, row.bytes);
        }
        if (row.kind == Kind::Hidden) {
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
        }
        if (row.kind == Kind::Locked) {
            held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(held, INVALID_HANDLE_VALUE);
        }
        Check({row.label, row.arguments, kMoved, row.notepad, row.other});
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
    }
    RemoveLists();
}

// The pass reads at most 255 characters of a title; a list matches only what it read.
TEST_F(BadInput, TitlesOf255CharactersAndLonger) {
    const std::wstring head(250, L'x');
    const struct {
        const char* label;
        std::wstring title;
        const wchar_t* name;
        const char* fragment;
        const wchar_t* arguments;
        POINT window;
    } rows[] = {
        {"a fragment that ends at character 255",
         head + L"ABCDEFGHIJ",
         L"include.txt",
         "abcde",
         L"vi 30",
         {100, 130}},
        {"a fragment beyond character 255",
         head + L"ABCDEFGHIJ",
         L"include.txt",
         "fghij",
         L"vi 30",
         {100, 100}},
        {"a fragment across character 255",
         head + L"ABCDEFGHIJ",
         L"include.txt",
         "def",
         L"vi 30",
         {100, 100}},
        {"an exclude fragment beyond character 255",
         head + L"ABCDEFGHIJ",
         L"exclude.txt",
         "fghij",
         L"ve 30",
         {100, 130}},
        {"a title of 100000 characters",
         head + L"ABCDE" + std::wstring(100000, L'y'),
         L"include.txt",
         "abcde",
         L"vi 30",
         {100, 130}},
        {"exactly 255 characters", head + L"ABCDE", L"include.txt", "xabcde", L"vi 30", {100, 130}},
    };
    for (const auto& row : rows) {
        RemoveLists();
        sandbox_.WriteFile(row.name, row.fragment);
        const DesktopValues before = ReadDesktopValues();
        TestWindow window(row.title, 100, 100, 200, 150);
        TestWindow other(L"Deskglide bad input", kOtherAt.x, kOtherAt.y, 200, 150);
        const bool exclude = row.name == std::wstring(L"exclude.txt");
        ExpectOutcome(RunToEnd(sandbox_, row.arguments), kMoved, row.label);
        EXPECT_EQ(window.Position(), row.window) << row.label;
        EXPECT_EQ(other.Position(), exclude ? Moved(kOtherAt, 0, 30) : kOtherAt) << row.label;
        ExpectDesktopValuesSound(before, row.label, std::nullopt);
    }
    RemoveLists();
}

// A desktop value as a row stores it; no value at all when `absent`.
struct StoredValue {
    const char* label;
    DWORD type;
    std::string bytes;
    bool absent = false;
};

std::vector<StoredValue> EveryTypeAndSize(const std::string& decimalSeparator) {
    return {
        {"REG_SZ with its NUL", REG_SZ, "12\0"s},
        {"REG_SZ without a NUL", REG_SZ, "12"},
        {"REG_SZ of size 0", REG_SZ, ""},
        {"REG_SZ with an embedded NUL", REG_SZ, "12\0junk"s},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, "12\0"s},
        {"REG_DWORD", REG_DWORD, "\x0C\0\0\0"s},
        {"REG_QWORD", REG_QWORD, "\x0C\0\0\0\0\0\0\0"s},
        {"REG_BINARY of 0 bytes", REG_BINARY, ""},
        {"REG_BINARY of 1 byte", REG_BINARY, "\xFF"},
        {"REG_BINARY of 2 bytes", REG_BINARY, "\xFE\xFF"},
        {"REG_BINARY of 3 bytes", REG_BINARY, "\xFE\xFF\x01"},
        {"REG_MULTI_SZ", REG_MULTI_SZ, "12\0\0"s},
        {"REG_NONE", REG_NONE, "12"},
        {"very long digits", REG_SZ, std::string(70000, '1') + '\0'},
        {"very long leading zeros", REG_SZ, std::string(70000, '0') + "12" + '\0'},
        {"very long spaces around", REG_SZ, std::string(70000, ' ') + "12" + "   " + '\0'},
        {"non-numeric text", REG_SZ, "abc\0"s},
        {"spaces around a number", REG_SZ, " 12 \0"s},
        {"a tab before a number", REG_SZ, "\t12\0"s},
        {"a decimal fraction", REG_SZ, "12" + decimalSeparator + "5" + '\0'},
        {"a decimal fraction that rounds up", REG_SZ, "13" + decimalSeparator + "5" + '\0'},
        {"an exponent", REG_SZ, "1e3\0"s},
        {"a hexadecimal form", REG_SZ, "0x10\0"s},
        {"the sum past the limit", REG_SZ, "2147483640\0"s},
        {"the sum at the limit", REG_SZ, "2147483637\0"s},
        {"absent", REG_SZ, "", true},
    };
}

std::string DecimalSeparator() {
    char separator[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    return separator;
}

// What a run with step 10 makes of each stored origin: the new text, or the error it reports.
struct OriginResult {
    Expected expected;
    std::optional<std::wstring> written;  // nothing: the value is left as it was
};

OriginResult OriginAfterStep10(const StoredValue& value, const std::wstring& name) {
    const std::wstring label = L"The wallpaper origin " + name;
    const std::string bytes = value.bytes;
    const auto written = [](const wchar_t* text) { return OriginResult{kMoved, text}; };
    const OriginResult missing{Conversion({label, L"missing or empty"}), std::nullopt};
    const std::string kind = value.label;
    if (value.absent || kind == "REG_SZ of size 0" || value.type == REG_EXPAND_SZ ||
        value.type == REG_DWORD || value.type == REG_QWORD || value.type == REG_MULTI_SZ ||
        value.type == REG_NONE) {
        return missing;
    }
    if (value.type == REG_BINARY) {
        // The first two bytes, little-endian, as a signed 16-bit integer.
        return written(bytes.empty() ? L"10" : bytes.size() == 1 ? L"265" : L"8");
    }
    if (kind == "very long digits") {
        return {Overflow({label, L"(70000 characters)"}), std::nullopt};
    }
    if (kind == "non-numeric text") {
        return {Conversion({label, L"\"abc\" is not a number"}), std::nullopt};
    }
    if (kind == "a tab before a number" || kind == "a hexadecimal form") {
        return {Conversion({label, L"is not a number"}), std::nullopt};
    }
    if (kind == "a decimal fraction") {
        return written(L"22");  // 12.5 rounds to the even 12
    }
    if (kind == "a decimal fraction that rounds up") {
        return written(L"24");
    }
    if (kind == "an exponent") {
        return written(L"1010");
    }
    if (kind == "the sum past the limit") {
        return {Overflow({label, L"moved from 2147483640 by 10"}), std::nullopt};
    }
    if (kind == "the sum at the limit") {
        return written(L"2147483647");
    }
    return written(L"22");
}

// Both origins go through one read; the horizontal one takes a row of each way it can end
// (text, no text, binary, not a number, overflow) to show the mode picks the right value.
bool IsHorizontalSample(const StoredValue& value) {
    const std::string kind = value.label;
    return kind == "REG_SZ without a NUL" || kind == "REG_SZ of size 0" || kind == "REG_DWORD" ||
           kind == "REG_BINARY of 3 bytes" || kind == "non-numeric text" ||
           kind == "the sum past the limit";
}

TEST_F(BadInput, EveryTypeAndSizeOfTheOriginValues) {
    const struct {
        const wchar_t* name;
        const wchar_t* other;
        const wchar_t* arguments;
        POINT moved;
        bool everyRow;
    } origins[] = {
        {L"WallpaperOriginY", L"WallpaperOriginX", L"vw 10", Moved(kNotepadAt, 0, 10), true},
        {L"WallpaperOriginX", L"WallpaperOriginY", L"hw 10", Moved(kNotepadAt, 10, 0), false},
    };
    for (const auto& origin : origins) {
        for (const StoredValue& value : EveryTypeAndSize(DecimalSeparator())) {
            if (!origin.everyRow && !IsHorizontalSample(value)) {
                continue;
            }
            const std::string label =
                testing::PrintToString(std::wstring(origin.name)) + " as " + value.label;
            if (value.absent) {
                WriteRaw(kDesktopKey, origin.name, std::nullopt);
            } else {
                const std::string name(origin.name, origin.name + wcslen(origin.name));
                WriteAnsi(kDesktopKey, name.c_str(), value.type, value.bytes);
            }
            const auto before = ReadRaw(kDesktopKey, origin.name);
            const auto otherBefore = ReadRaw(kDesktopKey, origin.other);
            const OriginResult result = OriginAfterStep10(value, origin.name);
            // The windows move before the wallpaper step, whatever it makes of the value.
            const POINT otherMoved{kOtherAt.x + origin.moved.x - kNotepadAt.x,
                                   kOtherAt.y + origin.moved.y - kNotepadAt.y};
            Check({label, origin.arguments, result.expected, origin.moved, otherMoved}, L"");
            if (result.written) {
                EXPECT_EQ(ReadText(origin.name), result.written) << label;
            } else {
                EXPECT_EQ(ReadRaw(kDesktopKey, origin.name), before) << label;
            }
            EXPECT_EQ(ReadRaw(kDesktopKey, origin.other), otherBefore) << label;
        }
    }
}

// Gathering writes both origins without reading them and re-applies whatever path it read.
TEST_F(BadInput, EveryTypeAndSizeOfTheWallpaperValue) {
    const std::string longPath = "C:\\" + std::string(70000, 'p') + ".bmp";
    const struct {
        StoredValue value;
        std::wstring reapplied;
    } rows[] = {
        {{"REG_SZ with its NUL", REG_SZ, "C:\\a.bmp\0"s}, L"C:\\a.bmp"},
        {{"REG_SZ without a NUL", REG_SZ, "C:\\a.bmp"}, L"C:\\a.bmp"},
        {{"REG_SZ of size 0", REG_SZ, ""}, L""},
        {{"REG_SZ with an embedded NUL", REG_SZ, "C:\\a.bmp\0junk"s}, L"C:\\a.bmp"},
        {{"REG_SZ in the ANSI code page", REG_SZ, "C:\\caf\xE9.bmp\0"s}, L"C:\\caf\u00E9.bmp"},
        {{"REG_EXPAND_SZ", REG_EXPAND_SZ, "%SystemRoot%\\a.bmp\0"s}, L""},
        {{"REG_DWORD", REG_DWORD, "\x0C\0\0\0"s}, L""},
        {{"REG_BINARY of 0 bytes", REG_BINARY, ""}, L"0"},
        {{"REG_BINARY of 1 byte", REG_BINARY, "\xFF"}, L"255"},
        {{"REG_BINARY of 2 bytes", REG_BINARY, "\xFE\xFF"}, L"-2"},
        {{"REG_BINARY of 3 bytes", REG_BINARY, "\xFE\xFF\x01"}, L"-2"},
        {{"REG_MULTI_SZ", REG_MULTI_SZ, "C:\\a.bmp\0\0"s}, L""},
        // The whole path is re-applied; Wine keeps its first 255 characters.
        {{"very long text", REG_SZ, longPath + '\0'},
         std::wstring(longPath.begin(), longPath.begin() + 255)},
        {{"absent", REG_SZ, "", true}, L""},
    };
    for (const auto& row : rows) {
        const std::string label = "\"Wallpaper\" as "s + row.value.label;
        if (row.value.absent) {
            WriteRaw(kDesktopKey, L"Wallpaper", std::nullopt);
        } else {
            WriteAnsi(kDesktopKey, "Wallpaper", row.value.type, row.value.bytes);
        }
        WriteText(L"WallpaperOriginX", L"5");
        Check({label, L"gw", kMoved, kNotepadAt, kOtherAt}, row.reapplied);
        EXPECT_EQ(ReadText(L"WallpaperOriginX"), L"0") << label;
        EXPECT_EQ(ReadText(L"WallpaperOriginY"), L"0") << label;
    }
}

}  // namespace
