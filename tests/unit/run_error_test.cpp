#include "common/run_error.h"

#include <gtest/gtest.h>

#include <string>

#include "common/number_text.h"

namespace {

std::wstring MessageOf(void (*raise)()) {
    try {
        raise();
    } catch (const RunError& error) {
        return error.Message();
    }
    ADD_FAILURE() << "no error was raised";
    return {};
}

TEST(RunErrorMessage, ShortValuesAreShownWhole) {
    EXPECT_EQ(MessageOf([] { RaiseOverflow(L"The distance", L"3000000000"); }),
              L"The distance would be 3000000000, which is out of range: numbers must lie between "
              L"-2147483648 and 2147483647.");
    EXPECT_EQ(MessageOf([] { RaiseConversion(L"The origin", std::wstring(64, L'x')); }),
              L"The origin \"" + std::wstring(64, L'x') + L"\" is not a number.");
}

// A box that echoed a huge value would reach past the screen, and its OK button with it.
TEST(RunErrorMessage, LongValuesAreCutToTheirBeginningAndLength) {
    const std::wstring digits = std::wstring(70000, L'1');
    const std::wstring overflow =
        MessageOf([] { (void)ToInt32(std::wstring(70000, L'1'), L".", L"The origin"); });
    EXPECT_EQ(overflow, L"The origin would be " + digits.substr(0, 40) +
                            L"... (70000 characters), which is out of range: numbers must lie "
                            L"between -2147483648 and 2147483647.");
    const std::wstring conversion =
        MessageOf([] { RaiseConversion(L"The origin", std::wstring(65, L'x')); });
    EXPECT_EQ(conversion, L"The origin \"" + std::wstring(40, L'x') +
                              L"...\" (65 characters) is not a number.");
}

TEST(RunErrorMessage, ACutNeverSplitsASurrogatePair) {
    // U+1F600 as a pair whose high half would be the 40th unit.
    const std::wstring text = std::wstring(39, L'x') + L"\xD83D\xDE00" + std::wstring(30, L'y');
    static std::wstring value;
    value = text;
    const std::wstring message = MessageOf([] { RaiseConversion(L"The origin", value); });
    EXPECT_EQ(message, L"The origin \"" + std::wstring(39, L'x') + L"...\" (" +
                           std::to_wstring(text.size()) + L" characters) is not a number.");
}

}  // namespace
