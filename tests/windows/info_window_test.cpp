#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "harness.h"
#include "platform/win32_dpi.h"

namespace {

// The label's rectangle in twips, as the window lays it out.
constexpr int kLabelWidthTwips = 4575;
constexpr int kLabelHeightTwips = 1305;

// Wine puts the whole desktop at one DPI, and restarting it for each costs seconds: the window
// itself is checked at 96 and 144 DPI, and here the text is measured at more DPIs with the
// font and label size the window uses there.
TEST(InfoWindow, TheDescriptionFitsTheLabelAtEachDpi) {
    for (const UINT dpi : {96u, 120u, 144u, 192u}) {
        const int width = TwipsToPixels(kLabelWidthTwips, dpi);
        const int height = TwipsToPixels(kLabelHeightTwips, dpi);
        const int needed = DescriptionHeight(dpi, width);
        EXPECT_LE(needed, height) << "at " << dpi << " DPI the description is clipped";
        // A font that did not scale with the DPI would leave most of the label empty.
        EXPECT_GT(needed, height / 2) << "at " << dpi << " DPI the font did not scale";
        std::printf("%u DPI: label %dx%d, text needs %d\n", dpi, width, height, needed);
    }
}

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::wstring Widen(const char* text) { return std::wstring(text, text + std::strlen(text)); }

bool FileHasPngSignature(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    unsigned char head[8] = {};
    DWORD read = 0;
    ReadFile(file, head, sizeof head, &read, nullptr);
    CloseHandle(file);
    return read == 8 && head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G';
}

// Saves the X screen, and the window cut out of it, under the build tree for people to look
// at. Wine starts the Unix programs but gives no handle to wait on, so the last step of the
// shell command renames the finished file and the test waits for that name.
TEST(InfoWindow, ScreenshotUnderXvfb) {
    if (!UnderWine()) {
        GTEST_SKIP() << "the screenshot is taken with X tools, under Wine only";
    }
    Sandbox sandbox;
    Process process(sandbox.Exe(), L"");
    const HWND window = process.WaitForWindow(L"DeskglideMain", 10000);
    ASSERT_NE(window, nullptr);
    const UINT dpi = WindowDpi(window);
    const std::string name =
        dpi == 96 ? "info-window" : "info-window-" + std::to_string(dpi) + "dpi";
    const std::string folder = DESKGLIDE_ARTIFACT_DIR;
    const std::wstring shot = L"Z:" + Widen(folder.c_str()) + L"/" + Widen(name.c_str()) + L".png";
    DeleteFileW(shot.c_str());
    PumpMessages(500);  // let it paint
    RECT frame = {};
    GetWindowRect(window, &frame);
    const int margin = 12;
    const LONG left = std::max(0L, frame.left - margin);
    const LONG top = std::max(0L, frame.top - margin);
    const std::string crop = std::to_string(frame.right + margin - left) + "x" +
                             std::to_string(frame.bottom + margin - top) + "+" +
                             std::to_string(left) + "+" + std::to_string(top);
    const std::string script =
        "mkdir -p " + folder + " && cd " + folder + " && import -window root png:" + name +
        "-screen.part" + " && convert png:" + name + "-screen.part -crop " + crop +
        " +repage png:" + name + ".part" + " && mv " + name + "-screen.part " + name +
        "-screen.png" + " && mv " + name + ".part " + name + ".png";
    std::wstring commandLine = L"Z:\\bin\\sh -c \"" + Widen(script.c_str()) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION shell = {};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &shell))
        << "cannot start /bin/sh, error " << GetLastError();
    if (shell.hProcess != nullptr) {
        CloseHandle(shell.hProcess);
        CloseHandle(shell.hThread);
    }
    const DWORD deadline = GetTickCount() + 20000;
    while (GetFileAttributesW(shot.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount() < deadline) {
        PumpMessages(100);
    }
    EXPECT_TRUE(FileHasPngSignature(shot)) << "no screenshot at " << folder;

    PostMessageW(window, WM_CLOSE, 0, 0);
    const RunResult result = process.Wait(10000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
}

}  // namespace
