#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "platform/win32_dpi.h"

namespace {

// Wine 8 passes neither WM_GETICON nor GetClassLongPtr(GCLP_HICON) to another process's window,
// so the icon is looked for where the user sees it: the exe's small image, pixel for pixel, in
// the window's title bar.
using Pixels = std::vector<DWORD>;

Pixels Capture(HDC source, int x, int y, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(source);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    Pixels pixels(first, first + static_cast<size_t>(width) * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    for (DWORD& p : pixels) {
        p &= 0xFFFFFF;
    }
    return pixels;
}

// The icon drawn on black and on white: where both agree the pixel is opaque.
Pixels DrawOn(HICON icon, int size, COLORREF background) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(background);
    const RECT all = {0, 0, size, size};
    FillRect(memory, &all, brush);
    DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    const Pixels pixels = Capture(memory, 0, 0, size, size);
    SelectObject(memory, old);
    DeleteObject(brush);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool TitleBarShowsIcon(HWND window, const std::wstring& exe) {
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const int size = GetSystemMetrics(SM_CXSMICON);
    HICON icon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon == nullptr) {
        ADD_FAILURE() << "the exe has no icon 1";
        FreeLibrary(module);
        return false;
    }
    const Pixels onBlack = DrawOn(icon, size, RGB(0, 0, 0));
    const Pixels onWhite = DrawOn(icon, size, RGB(255, 255, 255));
    DestroyIcon(icon);
    FreeLibrary(module);

    RECT frame = {};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME) + 8;
    HDC screen = GetDC(nullptr);
    const Pixels bar = Capture(screen, frame.left, frame.top, width, height);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y + size <= height; ++y) {
        for (int x = 0; x + size <= width; ++x) {
            bool same = true;
            for (int i = 0; same && i < size * size; ++i) {
                const size_t at = static_cast<size_t>(y + i / size) * width + x + i % size;
                same = onBlack[i] != onWhite[i] || bar[at] == onBlack[i];
            }
            if (same) {
                return true;
            }
        }
    }
    return false;
}

// The window's only child, the label.
HWND InfoLabel(HWND window) {
    HWND label = FindWindowExW(window, nullptr, L"Static", nullptr);
    EXPECT_EQ(FindWindowExW(window, label, nullptr, nullptr), nullptr) << "more than one control";
    return label;
}

RECT ClientRectIn(HWND child, HWND parent) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The client area and the label in pixels, at each DPI the tests run at.
struct Layout {
    UINT dpi;
    int clientWidth, clientHeight;
    int labelLeft, labelTop, labelWidth, labelHeight;
};
constexpr Layout kLayouts[] = {
    {96, 310, 92, 2, 2, 305, 87},
    {144, 465, 138, 3, 3, 458, 131},
};

void ExpectInformationWindow(HWND window, const std::wstring& exe) {
    const UINT dpi = WindowDpi(window);
    const Layout* layout = nullptr;
    for (const Layout& l : kLayouts) {
        layout = l.dpi == dpi ? &l : layout;
    }
    ASSERT_NE(layout, nullptr) << "no expected sizes at " << dpi << " DPI";

    EXPECT_EQ(WindowText(window), L"Deskglide");
    EXPECT_TRUE(IsWindowVisible(window));
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, layout->clientWidth);
    EXPECT_EQ(client.bottom, layout->clientHeight);

    const HWND label = InfoLabel(window);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(IsWindowVisible(label));
    EXPECT_EQ(LongWindowText(label), kDescription);
    const RECT labelRect = ClientRectIn(label, window);
    EXPECT_EQ(labelRect.left, layout->labelLeft);
    EXPECT_EQ(labelRect.top, layout->labelTop);
    EXPECT_EQ(labelRect.right - labelRect.left, layout->labelWidth);
    EXPECT_EQ(labelRect.bottom - labelRect.top, layout->labelHeight);
    EXPECT_LE(DescriptionHeight(dpi, labelRect.right - labelRect.left),
              labelRect.bottom - labelRect.top)
        << "the description is clipped";

    bool shown = TitleBarShowsIcon(window, exe);
    for (int tries = 0; !shown && tries < 20; ++tries) {  // it may not be painted yet
        PumpMessages(100);
        shown = TitleBarShowsIcon(window, exe);
    }
    EXPECT_TRUE(shown) << "the title bar does not show the program's icon";
}

TEST(RunOutcome, WithoutAModeLetterTheWindowIsShownUntilClosed) {
    Sandbox sandbox;
    for (const wchar_t* arguments : {L"", L"w", L"100", L"e"}) {
        TestWindow other(L"Other", 100, 100, 200, 150);
        Process process(sandbox.Exe(), arguments);
        SCOPED_TRACE(testing::PrintToString(std::wstring(arguments)));
        const HWND window = process.WaitForWindow(L"DeskglideMain", 10000);
        ASSERT_NE(window, nullptr);
        ExpectInformationWindow(window, sandbox.Exe());
        PostMessageW(window, WM_CLOSE, 0, 0);
        const RunResult result = process.Wait(10000);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_EQ(other.Position(), (POINT{100, 100}));
    }
}

TEST(RunOutcome, AnOverflowIsReportedAndNothingMoves) {
    Sandbox sandbox;
    TestWindow other(L"Other", 100, 100, 200, 150);
    Process process(sandbox.Exe(), L"v 3000000000");
    const std::wstring text = CloseErrorBox(process);
    EXPECT_NE(text.find(L"The distance would be 3000000000"), std::wstring::npos);
    const RunResult result = process.Wait(10000);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 2u);
    EXPECT_EQ(other.Position(), (POINT{100, 100}));
}

}  // namespace
