#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "wallpaper/mod_registry.h"

namespace {

const std::string kKey = "Control Panel\\Desktop";
constexpr unsigned long kRegExpandSz = 2;
constexpr unsigned long kRegDword = 4;

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

TEST(ModRegistry, ReadsEachValueTypeByItsRule) {
    const struct {
        const char* label;
        FakeDesktop::Value value;
        std::wstring expected;
    } cases[] = {
        {"text with its NUL", {kRegSz, std::string("12\0", 3)}, L"12"},
        {"text without a NUL", {kRegSz, "12"}, L"12"},
        {"text stored with size 0", {kRegSz, ""}, L""},
        {"text cut at an embedded NUL", {kRegSz, std::string("12\0junk\0", 8)}, L"12"},
        {"embedded NUL, no final one", {kRegSz, std::string("12\0junk", 7)}, L"12"},
        {"spaces kept", {kRegSz, " C:\\w.bmp "}, L" C:\\w.bmp "},
        {"binary FE FF", {kRegBinary, Bytes({0xFE, 0xFF})}, L"-2"},
        {"binary little-endian", {kRegBinary, Bytes({0x2C, 0x01})}, L"300"},
        {"binary lowest", {kRegBinary, Bytes({0x00, 0x80})}, L"-32768"},
        {"binary one byte is the low byte", {kRegBinary, Bytes({0xFF})}, L"255"},
        {"binary empty", {kRegBinary, ""}, L"0"},
        {"binary longer: first two bytes",
         {kRegBinary, Bytes({0xFE, 0xFF, 0x01, 0x02, 0x03})},
         L"-2"},
        {"dword", {kRegDword, Bytes({0x0C, 0, 0, 0})}, L""},
        {"expand_sz", {kRegExpandSz, std::string("12\0", 3)}, L""},
    };
    for (const bool wine : {false, true}) {
        for (const auto& c : cases) {
            FakeDesktop desktop;
            desktop.AddsNulToUnterminatedText = wine;
            desktop.SetValue(kKey, "Value", c.value);
            EXPECT_EQ(GetRegValue(desktop, kHkeyCurrentUser, L"Control Panel\\desktop", L"Value"),
                      c.expected)
                << c.label << (wine ? " (size reported as Wine does)" : "");
            EXPECT_TRUE(desktop.OpenKeys.empty()) << c.label;
        }
    }
}

TEST(ModRegistry, AMissingKeyOrValueReadsAsEmptyText) {
    FakeDesktop desktop;
    EXPECT_EQ(GetRegValue(desktop, kHkeyCurrentUser, L"Control Panel\\Desktop", L"Wallpaper"), L"");
    desktop.SetValue(kKey, "Other", {kRegSz, "1"});
    EXPECT_EQ(GetRegValue(desktop, kHkeyCurrentUser, L"Control Panel\\Desktop", L"Wallpaper"), L"");
    EXPECT_TRUE(desktop.OpenKeys.empty());
    EXPECT_TRUE(desktop.CallsStartingWith("RegQueryValueExA Wallpaper data").empty());
}

TEST(ModRegistry, AReadOpensQueriesSizeThenDataAndCloses) {
    FakeDesktop desktop;
    desktop.SetValue(kKey, "WallpaperOriginY", {kRegSz, "10"});
    EXPECT_EQ(
        GetRegValue(desktop, kHkeyCurrentUser, L"Control Panel\\Desktop", L"WallpaperOriginY"),
        L"10");
    EXPECT_EQ(desktop.Calls,
              (std::vector<std::string>{"RegOpenKeyA Control Panel\\Desktop",
                                        "RegQueryValueExA WallpaperOriginY size",
                                        "RegQueryValueExA WallpaperOriginY data", "RegCloseKey"}));
}

TEST(ModRegistry, TextCrossesInTheAnsiCodePage) {
    FakeDesktop desktop;
    desktop.AnsiCodePage = FakeDesktop::CodePage::MultiByte;
    desktop.SetValue(kKey, "Wallpaper", {kRegSz, "C:\\\xE5\xA3\x81\xE7\xB4\x99.bmp"});
    EXPECT_EQ(GetRegValue(desktop, kHkeyCurrentUser, L"Control Panel\\Desktop", L"Wallpaper"),
              L"C:\\\u58C1\u7D19.bmp");
    SetRegString(desktop, kHkeyCurrentUser, L"Control Panel\\Desktop", L"Copy", L"\u58C1");
    EXPECT_EQ(desktop.FindValue(kKey, "Copy")->Data, "\xE5\xA3\x81");
}

TEST(ModRegistry, SetRegStringCreatesTheKeyAndStoresTheTextWithoutANul) {
    for (const std::wstring text : {L"0", L"-15", L"2147483647", L""}) {
        FakeDesktop desktop;
        ASSERT_FALSE(desktop.HasKey("Software\\Deskglide scratch"));
        SetRegString(desktop, kHkeyCurrentUser, L"Software\\Deskglide scratch", L"Value", text);
        const FakeDesktop::Value* stored =
            desktop.FindValue("Software\\Deskglide scratch", "Value");
        ASSERT_NE(stored, nullptr);
        EXPECT_EQ(stored->Type, kRegSz);
        EXPECT_EQ(stored->Data, Narrow(text));  // "0" has a data size of 1
        EXPECT_EQ(desktop.Calls,
                  (std::vector<std::string>{"RegCreateKeyA Software\\Deskglide scratch",
                                            "RegSetValueExA Value", "RegCloseKey"}));
        EXPECT_TRUE(desktop.OpenKeys.empty());
    }
}

TEST(ModRegistry, WrittenTextReadsBackTheSame) {
    for (const bool wine : {false, true}) {
        FakeDesktop desktop;
        desktop.AddsNulToUnterminatedText = wine;
        SetRegString(desktop, kHkeyCurrentUser, L"Control Panel\\Desktop", L"WallpaperOriginX",
                     L"-15");
        EXPECT_EQ(
            GetRegValue(desktop, kHkeyCurrentUser, L"Control Panel\\Desktop", L"WallpaperOriginX"),
            L"-15");
    }
}

}  // namespace
