#include <gtest/gtest.h>

#include "harness.h"

namespace {

using namespace std::string_literals;

class ListFilter : public testing::Test {
  protected:
    Sandbox sandbox;
};

// Two windows: the one a list names and another; returns where each ends up.
struct Outcome {
    POINT named, other;
};

Outcome RunWithTwoWindows(const Sandbox& sandbox, const std::wstring& arguments) {
    TestWindow named(L"Untitled - Notepad", 100, 100, 200, 150);
    TestWindow other(L"Deskglide list test", 150, 150, 200, 150);
    const RunResult result = RunDeskglide(sandbox.Exe(), arguments);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    return {named.Position(), other.Position()};
}

TEST_F(ListFilter, AnExcludeListProtectsTheWindowsItNames) {
    sandbox.WriteFile(L"exclude.txt", "alpha\r\nNOTEPAD\r\n");
    const Outcome outcome = RunWithTwoWindows(sandbox, L"ve 30");
    EXPECT_EQ(outcome.named, (POINT{100, 100}));
    EXPECT_EQ(outcome.other, (POINT{150, 180}));
}

TEST_F(ListFilter, AnIncludeListMovesOnlyTheWindowsItNames) {
    sandbox.WriteFile(L"include.txt", "tled - note");
    const Outcome outcome = RunWithTwoWindows(sandbox, L"vi 30");
    EXPECT_EQ(outcome.named, (POINT{100, 130}));
    EXPECT_EQ(outcome.other, (POINT{150, 150}));
}

TEST_F(ListFilter, WithoutTheListFileEveryWindowMoves) {
    const Outcome outcome = RunWithTwoWindows(sandbox, L"vi 30");
    EXPECT_EQ(outcome.named, (POINT{100, 130}));
    EXPECT_EQ(outcome.other, (POINT{150, 180}));
}

TEST_F(ListFilter, AHiddenOrSystemListFileCountsAsMissing) {
    for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        sandbox.WriteFile(L"include.txt", "notepad");
        const std::wstring path = sandbox.Folder() + L"\\include.txt";
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), attribute));
        const Outcome outcome = RunWithTwoWindows(sandbox, L"vi 30");
        EXPECT_EQ(outcome.named, (POINT{100, 130})) << attribute;
        EXPECT_EQ(outcome.other, (POINT{150, 180})) << attribute;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(ListFilter, AFolderNamedLikeTheListCountsAsMissing) {
    ASSERT_TRUE(CreateDirectoryW((sandbox.Folder() + L"\\include.txt").c_str(), nullptr));
    const Outcome outcome = RunWithTwoWindows(sandbox, L"vi 30");
    EXPECT_EQ(outcome.named, (POINT{100, 130}));
    EXPECT_EQ(outcome.other, (POINT{150, 180}));
}

TEST_F(ListFilter, AnEmptyIncludeListMovesNothing) {
    for (const std::string& bytes : {""s, "\r\n"s}) {
        sandbox.WriteFile(L"include.txt", bytes);
        const Outcome outcome = RunWithTwoWindows(sandbox, L"vi 30");
        EXPECT_EQ(outcome.named, (POINT{100, 100})) << testing::PrintToString(bytes);
        EXPECT_EQ(outcome.other, (POINT{150, 150})) << testing::PrintToString(bytes);
    }
}

TEST_F(ListFilter, ExcludeWinsWhenBothLettersArePresent) {
    sandbox.WriteFile(L"exclude.txt", "notepad");
    sandbox.WriteFile(L"include.txt", "notepad");
    const Outcome outcome = RunWithTwoWindows(sandbox, L"vie 30");
    EXPECT_EQ(outcome.named, (POINT{100, 100}));
    EXPECT_EQ(outcome.other, (POINT{150, 180}));
}

TEST_F(ListFilter, AByteOrderMarkIsNotPartOfTheFirstEntry) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"UTF-8", "\xEF\xBB\xBFnotepad\r\n"},
        {"UTF-16 LE", "\xFF\xFEn\0o\0t\0e\0p\0a\0d\0\r\0\n\0"s},
    };
    for (const auto& c : cases) {
        sandbox.WriteFile(L"exclude.txt", c.bytes);
        const Outcome outcome = RunWithTwoWindows(sandbox, L"ve 30");
        EXPECT_EQ(outcome.named, (POINT{100, 100})) << c.name;
        EXPECT_EQ(outcome.other, (POINT{150, 180})) << c.name;
    }
}

}  // namespace
