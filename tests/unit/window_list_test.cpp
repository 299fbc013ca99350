#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "fake_desktop.h"
#include "run/run_sequence.h"
#include "windows/mod_enum.h"
#include "windows/window_list.h"

namespace {

using namespace std::string_literals;

constexpr WindowHandle kSelf = 0x42;
const std::wstring kListPath = L"C:\\Tools\\exclude.txt";

RunSettings ShiftDown(bool excludeMode) {
    RunSettings settings;
    settings.MoveVertical = true;
    settings.Mode = ScrollMode::Vertical;
    settings.VerticalStep = 10;
    settings.ExcludeMode = excludeMode;
    return settings;
}

std::vector<std::wstring> Entries(const RunSettings& settings) {
    std::vector<std::wstring> entries;
    for (const ListEntry& entry : settings.WindowList) {
        entries.emplace_back(ListEntryText(settings, entry));
    }
    return entries;
}

struct ListCase {
    const char* name;
    std::string bytes;
    bool excludeMode;
    std::string title;  // in the ANSI code page
    bool moved;
    FakeDesktop::CodePage codePage = FakeDesktop::CodePage::SingleByte;
};

TEST(WindowList, TheListDecidesWhichWindowsThePassMoves) {
    constexpr bool kExclude = true;
    constexpr bool kInclude = false;
    constexpr auto kMultiByte = FakeDesktop::CodePage::MultiByte;
    const ListCase cases[] = {
        {"exclude, case ignored", "notepad", kExclude, "Untitled - Notepad", false},
        {"exclude, no match", "notepad", kExclude, "Editor", true},
        {"include, case ignored", "NOTEPAD", kInclude, "Untitled - Notepad", true},
        {"include, no match", "notepad", kInclude, "Editor", false},
        {"substring inside the title", "tit", kExclude, "Untitled - Notepad", false},
        {"title shorter than the entry", "Untitled - Notepad!", kExclude, "Untitled", true},
        {"trailing space is kept", "Notepad ", kExclude, "Untitled - Notepad", true},
        {"leading space is kept", " Untitled", kExclude, "Untitled - Notepad", true},
        {"second line matches", "alpha\r\nnotepad", kExclude, "Untitled - Notepad", false},
        {"empty exclude file", "", kExclude, "Editor", true},
        {"empty include file", "", kInclude, "Editor", false},
        {"include with one empty line", "\r\n", kInclude, "Editor", false},
        {"empty line between entries", "alpha\r\n\r\nbeta", kExclude, "Editor", true},
        {"final CR LF, exclude", "alpha\r\n", kExclude, "Editor", true},
        {"final CR LF, include", "editor\r\n", kInclude, "Editor", true},
        {"LF-only file is one entry", "alpha\nbeta", kExclude, "beta", true},
        {"LF-only file, include", "alpha\nbeta", kInclude, "alpha", false},
        {"CR alone does not split", "alpha\rbeta", kInclude, "beta", false},
        {"case of Latin-1 letters", "\xC9T\xC9", kExclude, "R\xE9sum\xE9 d'\xE9t\xE9", false},
        {"UTF-8 mark is not part of the entry", "\xEF\xBB\xBFnotepad", kExclude, "Notepad", false},
        {"UTF-8 marked, non-ASCII", "\xEF\xBB\xBF\xC3\x89T\xC3\x89", kExclude, "\xE9t\xE9", false},
        {"UTF-16 LE marked",
         "\xFF\xFE"
         "a\0\r\0\n\0n\0o\0t\0e\0"s,
         kExclude, "Notepad", false},
        {"UTF-16 LE marked, include", "\xFF\xFEz\0"s, kInclude, "Notepad", false},
        {"multi-byte code page", "\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3", kExclude,
         "\xE7\x84\xA1\xE9\xA1\x8C - \xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3", false, kMultiByte},
        {"multi-byte code page, include", "x\r\n\xE3\x83\xA1\xE3\x83\xA2", kInclude,
         "\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3", true, kMultiByte},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.AnsiCodePage = c.codePage;
        desktop.Files[kListPath] = {c.bytes};
        const WindowHandle window = desktop.AddWindow(c.title, {100, 100, 200, 200});
        RunSettings settings = ShiftDown(c.excludeMode);
        LoadWindowList(desktop, settings, kListPath);
        ASSERT_TRUE(settings.ListLoaded) << c.name;
        MoveAllWindows(desktop, settings, kSelf);
        EXPECT_EQ(desktop.Moves.size(), c.moved ? 1u : 0u) << c.name;
        EXPECT_EQ(desktop.WindowAt(window).Bounds.top, c.moved ? 110 : 100) << c.name;
    }
}

TEST(WindowList, EntriesAreTheLinesBetweenCrLfsWithNothingTrimmed) {
    const struct {
        std::string bytes;
        std::vector<std::wstring> entries;
    } cases[] = {
        {"", {}},
        {"a", {L"a"}},
        {"a\r\n", {L"a", L""}},
        {"\r\n", {L"", L""}},
        {" a \r\n\r\n\tb\r\nc\nd", {L" a ", L"", L"\tb", L"c\nd"}},
        {"a\r\r\n\nb", {L"a\r", L"\nb"}},
        {"\xEF\xBB\xBF\r\na", {L"", L"a"}},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.Files[kListPath] = {c.bytes};
        RunSettings settings;
        LoadWindowList(desktop, settings, kListPath);
        EXPECT_TRUE(settings.ListLoaded) << testing::PrintToString(c.bytes);
        EXPECT_EQ(Entries(settings), c.entries) << testing::PrintToString(c.bytes);
    }
}

TEST(WindowList, AMissingFileLoadsNothing) {
    FakeDesktop::File hidden{"notepad"};
    hidden.Hidden = true;
    FakeDesktop::File system{"notepad"};
    system.System = true;
    FakeDesktop::File folder;
    folder.Directory = true;
    const struct {
        const char* name;
        std::optional<FakeDesktop::File> file;
    } cases[] = {{"no file", std::nullopt},
                 {"hidden file", hidden},
                 {"system file", system},
                 {"folder", folder}};
    for (const auto& c : cases) {
        FakeDesktop desktop;
        if (c.file) {
            desktop.Files[kListPath] = *c.file;
        }
        RunSettings settings;
        settings.WindowListText = L"kept";
        settings.WindowList = {{0, 4}};
        LoadWindowList(desktop, settings, kListPath);
        EXPECT_FALSE(settings.ListLoaded) << c.name;
        EXPECT_EQ(Entries(settings), std::vector<std::wstring>{L"kept"}) << c.name;
        EXPECT_EQ(desktop.Calls, std::vector<std::string>{"TestFile C:\\Tools\\exclude.txt"})
            << c.name;
    }
}

TEST(WindowList, AReadErrorGivesAnEmptyListThatIsStillLoaded) {
    FakeDesktop::File unreadable{"notepad"};
    unreadable.Unreadable = true;
    FakeDesktop::File untestable{"notepad"};
    untestable.TestFails = true;
    FakeDesktop::File neither{"notepad"};
    neither.Unreadable = true;
    neither.TestFails = true;
    const struct {
        const char* name;
        FakeDesktop::File file;
        std::vector<std::wstring> entries;
    } cases[] = {
        {"unreadable", unreadable, {}},
        {"existence test fails, read works", untestable, {L"notepad"}},
        {"existence test and read fail", neither, {}},
    };
    for (const auto& c : cases) {
        FakeDesktop desktop;
        desktop.Files[kListPath] = c.file;
        RunSettings settings;
        settings.WindowListText = L"stale";
        settings.WindowList = {{0, 5}};
        LoadWindowList(desktop, settings, kListPath);
        EXPECT_TRUE(settings.ListLoaded) << c.name;
        EXPECT_EQ(Entries(settings), c.entries) << c.name;
    }
}

// The run sequence: which file is read, when, and what a missing or empty one means.
struct RunCase {
    const wchar_t* arguments;
    std::map<std::wstring, std::string> files;
    std::string fileTested;
    size_t moves;
};

TEST(WindowList, TheRunReadsTheListItsLettersAskFor) {
    const std::wstring exclude = L"C:\\Tools\\exclude.txt";
    const std::wstring include = L"C:\\Tools\\include.txt";
    const RunCase cases[] = {
        {L"v", {{exclude, "alpha"}, {include, "alpha"}}, "", 2},
        {L"ve", {{exclude, "alpha"}}, "TestFile C:\\Tools\\exclude.txt", 1},
        {L"vi", {{include, "alpha"}}, "TestFile C:\\Tools\\include.txt", 1},
        {L"vi", {}, "TestFile C:\\Tools\\include.txt", 2},
        {L"vi", {{include, ""}}, "TestFile C:\\Tools\\include.txt", 0},
        {L"ve", {}, "TestFile C:\\Tools\\exclude.txt", 2},
        // Both letters: the exclude list alone, in exclude mode, even when it is missing.
        {L"vie", {{exclude, "alpha"}, {include, "alpha"}}, "TestFile C:\\Tools\\exclude.txt", 1},
        {L"iv e", {{include, "alpha"}}, "TestFile C:\\Tools\\exclude.txt", 2},
    };
    for (const auto& c : cases) {
        const std::string name = Narrow(c.arguments);
        FakeDesktop desktop;
        desktop.Arguments = c.arguments;
        for (const auto& [path, bytes] : c.files) {
            desktop.Files[path] = {bytes};
        }
        desktop.AddWindow("Alpha", {0, 0, 10, 10});
        desktop.AddWindow("Beta", {0, 0, 10, 10});
        EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0) << name;
        const auto tested = desktop.CallsStartingWith("TestFile");
        EXPECT_EQ(tested.size(), c.fileTested.empty() ? 0u : 1u) << name;
        if (!tested.empty()) {
            EXPECT_EQ(tested[0], c.fileTested) << name;
        }
        EXPECT_EQ(desktop.Moves.size(), c.moves) << name;
    }
}

TEST(WindowList, TheListIsReadAfterTheWorkAreaAndBeforeThePass) {
    FakeDesktop desktop;
    desktop.Arguments = L"ve";
    desktop.Files[L"C:\\Tools\\exclude.txt"] = {"alpha"};
    desktop.AddWindow("Alpha", {0, 0, 10, 10});
    const WindowHandle beta = desktop.AddWindow("Beta", {0, 0, 10, 10});
    EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0);
    EXPECT_EQ(desktop.Calls,
              (std::vector<std::string>{
                  "CommandLineArguments", "GetWorkArea", "ProgramDirectory",
                  "TestFile C:\\Tools\\exclude.txt", "ReadFile C:\\Tools\\exclude.txt",
                  "EnumWindows", "SetWindowPos " + std::to_string(beta), "CloseMainWindow"}));
    EXPECT_TRUE(Settings.ExcludeMode);
    EXPECT_TRUE(Settings.ListLoaded);
}

TEST(WindowList, WithoutAModeTheListIsStillReadButNothingMoves) {
    FakeDesktop desktop;
    desktop.Arguments = L"i";
    desktop.Files[L"C:\\Tools\\include.txt"] = {"alpha"};
    desktop.AddWindow("Alpha", {0, 0, 10, 10});
    EXPECT_EQ(RunLoadEvent(desktop, kSelf), 0);
    EXPECT_EQ(desktop.CallsStartingWith("ReadFile").size(), 1u);
    EXPECT_FALSE(Settings.ExcludeMode);
    EXPECT_TRUE(desktop.Moves.empty());
    EXPECT_FALSE(desktop.Closed);
}

}  // namespace
