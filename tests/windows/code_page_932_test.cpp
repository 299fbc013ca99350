#include <gtest/gtest.h>

#include "harness.h"

// These run in a Wine session whose locale gives the ANSI code page 932 (Shift-JIS), started
// with LC_ALL=ja_JP.UTF-8; list files are written in that code page, titles with the W API.
namespace {

class CodePage932 : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "start the Wine session with LC_ALL=ja_JP.UTF-8";
    }
    Sandbox sandbox;
};

// "メモ帳" in Shift-JIS: more characters than bytes would make it unreadable.
constexpr char kNotepadSjis[] = "\x83\x81\x83\x82\x92\xA0";
// "表": its second byte is an ASCII backslash; only a Shift-JIS reading gives the character.
constexpr char kTableSjis[] = "\x95\x5C";

TEST_F(CodePage932, AJapaneseExcludeEntryProtectsItsWindow) {
    sandbox.WriteFile(L"exclude.txt", std::string("abc\r\n") + kNotepadSjis + "\r\n");
    TestWindow named(L"\u7121\u984C - \u30E1\u30E2\u5E33", 100, 100, 200, 150);
    TestWindow other(L"Deskglide list test", 150, 150, 200, 150);
    const RunResult result = RunDeskglide(sandbox.Exe(), L"ve 30");
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(named.Position(), (POINT{100, 100}));
    EXPECT_EQ(other.Position(), (POINT{150, 180}));
}

TEST_F(CodePage932, AJapaneseIncludeEntrySelectsItsWindow) {
    sandbox.WriteFile(L"include.txt", kTableSjis);
    TestWindow named(L"\u8868\u8A08\u7B97", 100, 100, 200, 150);
    TestWindow other(L"Deskglide list test", 150, 150, 200, 150);
    const RunResult result = RunDeskglide(sandbox.Exe(), L"vi 30");
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(named.Position(), (POINT{100, 130}));
    EXPECT_EQ(other.Position(), (POINT{150, 150}));
}

}  // namespace
