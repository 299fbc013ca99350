#include <gtest/gtest.h>

#include "common/marked_text.h"

namespace {

using namespace std::string_literals;

TEST(MarkedText, DecodesAMarkedFileWithoutItsMark) {
    const struct {
        const char* name;
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {"UTF-8",
         "\xEF\xBB\xBF"
         "Caf\xC3\xA9\r\n\xE3\x83\xA1\xE3\x83\xA2",
         L"Caf\u00E9\r\n\u30E1\u30E2"},
        {"UTF-8, mark only", "\xEF\xBB\xBF", L""},
        {"UTF-8, a second mark stays", "\xEF\xBB\xBF\xEF\xBB\xBFx", L"\uFEFFx"},
        {"UTF-8, beyond the BMP", "\xEF\xBB\xBF\xF0\x9F\x98\x80", L"\U0001F600"},
        {"UTF-8, stray continuation",
         "\xEF\xBB\xBF"
         "a\x80"
         "b",
         L"a\uFFFDb"},
        {"UTF-8, overlong", "\xEF\xBB\xBF\xC0\xAF", L"\uFFFD\uFFFD"},
        {"UTF-8, encoded surrogate", "\xEF\xBB\xBF\xED\xA0\x80", L"\uFFFD"},
        {"UTF-8, cut short at the end",
         "\xEF\xBB\xBF"
         "a\xE3\x83",
         L"a\uFFFD"},
        {"UTF-8, cut short by ASCII",
         "\xEF\xBB\xBF\xE3"
         "a",
         L"\uFFFDa"},
        {"UTF-16 LE",
         "\xFF\xFE"
         "C\0a\0f\0\xE9\0\r\0\n\0\xE1\x30"s,
         L"Caf\u00E9\r\n\u30E1"},
        {"UTF-16 LE, mark only", "\xFF\xFE", L""},
        {"UTF-16 LE, surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, L"\U0001F600"},
        {"UTF-16 LE, lone surrogates",
         "\xFF\xFE\x00\xDC"
         "a\0\x3D\xD8"s,
         L"\uFFFDa\uFFFD"},
        {"UTF-16 LE, odd byte at the end",
         "\xFF\xFE"
         "a\0b"s,
         L"a\uFFFD"},
    };
    for (const auto& c : cases) {
        std::wstring text = L"before";
        EXPECT_TRUE(DecodeMarkedText(c.bytes, text)) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
}

TEST(MarkedText, LeavesUnmarkedBytesToTheCodePage) {
    for (const std::string& bytes : {""s, "notepad"s, "\xEF\xBB"s, "\xFF"s, "\xFE\xFF\0a"s,
                                     " \xEF\xBB\xBF"s, "\xBB\xEF\xBF"s}) {
        std::wstring text = L"before";
        EXPECT_FALSE(DecodeMarkedText(bytes, text)) << testing::PrintToString(bytes);
        EXPECT_EQ(text, L"before");
    }
}

}  // namespace
