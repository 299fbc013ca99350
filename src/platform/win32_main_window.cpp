#include <windows.h>

#include "platform/win32_desktop.h"
#include "platform/win32_dpi.h"
#include "resource.h"

namespace {

constexpr wchar_t kWindowClass[] = L"DeskglideMain";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;

// The one window's DPI-dependent pieces, remade when the window moves to another DPI.
struct MainWindowState {
    const MainWindowContent* content = nullptr;
    HWND label = nullptr;
    HFONT font = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};

MainWindowState& StateOf(HWND window) {
    return *reinterpret_cast<MainWindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HICON LoadAppIcon(int sizeMetric, UINT dpi) {
    const int size = SystemMetricForDpi(sizeMetric, dpi);
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DESKGLIDE),
                                         IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void ReleaseDpiResources(MainWindowState& state) {
    if (state.font != nullptr) {
        DeleteObject(state.font);
    }
    if (state.bigIcon != nullptr) {
        DestroyIcon(state.bigIcon);
    }
    if (state.smallIcon != nullptr) {
        DestroyIcon(state.smallIcon);
    }
    state.font = nullptr;
    state.bigIcon = nullptr;
    state.smallIcon = nullptr;
}

// Font, label rectangle and icons for `dpi`; the caller sizes the frame.
void ApplyDpi(HWND window, UINT dpi) {
    MainWindowState& state = StateOf(window);
    HFONT oldFont = state.font;
    HICON oldBig = state.bigIcon;
    HICON oldSmall = state.smallIcon;

    state.font = CreateMessageFont(dpi);
    state.bigIcon = LoadAppIcon(SM_CXICON, dpi);
    state.smallIcon = LoadAppIcon(SM_CXSMICON, dpi);
    const MainWindowContent& content = *state.content;
    SendMessageW(state.label, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    SetWindowPos(state.label, nullptr, TwipsToPixels(content.InfoLeftTwips, dpi),
                 TwipsToPixels(content.InfoTopTwips, dpi),
                 TwipsToPixels(content.InfoWidthTwips, dpi),
                 TwipsToPixels(content.InfoHeightTwips, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(state.label, nullptr, TRUE);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(state.bigIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(state.smallIcon));

    // Only now that nothing uses them any more.
    if (oldFont != nullptr) {
        DeleteObject(oldFont);
    }
    if (oldBig != nullptr) {
        DestroyIcon(oldBig);
    }
    if (oldSmall != nullptr) {
        DestroyIcon(oldSmall);
    }
}

void SizeFrameForDpi(HWND window, UINT dpi) {
    const MainWindowContent& content = *StateOf(window).content;
    const RECT client = {0, 0, TwipsToPixels(content.ClientWidthTwips, dpi),
                         TwipsToPixels(content.ClientHeightTwips, dpi)};
    const RECT frame = FrameForClient(client, kStyle, kExStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DPICHANGED: {
            if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0) {
                break;  // not dressed yet: it will be for the DPI it has then
            }
            // The suggested rectangle keeps the window under the mouse while it is dragged across.
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            ApplyDpi(window, LOWORD(wParam));
            SetWindowPos(window, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool Win32Desktop::RunMainWindow(const MainWindowContent& content,
                                 const std::function<void(WindowHandle)>& onLoad) {
    if (!TakeRunLock()) {
        MessageBoxW(nullptr,
                    L"Another Deskglide run is still busy, so this one did nothing. Try again "
                    L"when it has finished.",
                    L"Deskglide", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
        return false;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_DESKGLIDE));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_DESKGLIDE),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    RegisterClassExW(&windowClass);

    HWND window =
        CreateWindowExW(kExStyle, kWindowClass, content.Title.c_str(), kStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, nullptr);
    MainWindowState state;
    state.content = &content;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    mainWindow_ = reinterpret_cast<WindowHandle>(window);
    onLoad(mainWindow_);
    ReleaseRunLock();
    if (!IsWindow(window)) {
        return true;
    }
    // Dressed only now: a run with a mode letter closes the window before it is ever shown.
    state.label = CreateWindowExW(0, L"STATIC", content.InfoText.c_str(),
                                  WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window,
                                  nullptr, instance, nullptr);
    // Windows sends no DPI change for the DPI a window is created at: size for it here.
    const UINT dpi = WindowDpi(window);
    ApplyDpi(window, dpi);
    SizeFrameForDpi(window, dpi);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    ReleaseDpiResources(state);
    return true;
}
