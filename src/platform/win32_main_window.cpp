#include <windows.h>

#include "platform/win32_desktop.h"

namespace {

constexpr wchar_t kWindowClass[] = L"DeskglideMain";
constexpr int kTwipsPerPixelAt96Dpi = 15;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 96 * kTwipsPerPixelAt96Dpi); }

}  // namespace

void Win32Desktop::RunMainWindow(const MainWindowContent& content,
                                 const std::function<void(WindowHandle)>& onLoad) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const int dpi = 96;
    RECT frame = {0, 0, TwipsToPixels(content.ClientWidthTwips, dpi),
                  TwipsToPixels(content.ClientHeightTwips, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, kWindowClass, content.Title.c_str(), style, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, instance, nullptr);
    mainWindow_ = reinterpret_cast<WindowHandle>(window);
    onLoad(mainWindow_);
    if (!IsWindow(window)) {
        return;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
