#include <windows.h>

#include "platform/win32_desktop.h"
#include "platform/win32_dpi.h"
#include "platform/win32_handles.h"
#include "resource.h"

#include <string>

namespace {

constexpr wchar_t kWindowClass[] = L"DeskglideMain";
constexpr wchar_t kStandInClass[] = L"DeskglideRun";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;

// The one window's DPI-dependent pieces, remade when the window moves to another DPI. It
// reaches the window through lpCreateParams and outlives it.
struct MainWindowState {
    const MainWindowContent* content = nullptr;
    HWND label = nullptr;
    HWND usage = nullptr;
    int usageHeight = 0;  // in pixels, for the font of the DPI applied last
    FontHandle font;
    IconHandle bigIcon;
    IconHandle smallIcon;
};

MainWindowState& StateOf(HWND window) {
    return *reinterpret_cast<MainWindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

IconHandle LoadAppIcon(int sizeMetric, UINT dpi) {
    const int size = SystemMetricForDpi(sizeMetric, dpi);
    return IconHandle(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_DESKGLIDE),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

// The height of `text` wrapped at `width` in `font`, as a static control draws it.
int WrappedTextHeight(HWND label, HFONT font, const std::wstring& text, int width) {
    const HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT bounds = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &bounds,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return bounds.bottom;
}

// Font, label rectangles and icons for `dpi`; the caller sizes the frame.
void ApplyDpi(HWND window, UINT dpi) {
    MainWindowState& state = StateOf(window);
    FontHandle font(CreateMessageFont(dpi));
    IconHandle bigIcon = LoadAppIcon(SM_CXICON, dpi);
    IconHandle smallIcon = LoadAppIcon(SM_CXSMICON, dpi);
    const MainWindowContent& content = *state.content;
    const int left = TwipsToPixels(content.InfoLeftTwips, dpi);
    const int width = TwipsToPixels(content.InfoWidthTwips, dpi);
    SendMessageW(state.label, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    SetWindowPos(state.label, nullptr, left, TwipsToPixels(content.InfoTopTwips, dpi), width,
                 TwipsToPixels(content.InfoHeightTwips, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(state.label, nullptr, TRUE);
    state.usageHeight = WrappedTextHeight(state.usage, font.get(), content.UsageText, width);
    SendMessageW(state.usage, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    SetWindowPos(state.usage, nullptr, left, TwipsToPixels(content.UsageTopTwips, dpi), width,
                 state.usageHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(state.usage, nullptr, TRUE);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));

    // The old ones go only now that nothing uses them any more.
    state.font = std::move(font);
    state.bigIcon = std::move(bigIcon);
    state.smallIcon = std::move(smallIcon);
}

// Sizes the frame for the content laid out at `dpi`; puts its corner at `corner` when given.
void SizeFrameForDpi(HWND window, UINT dpi, const POINT* corner = nullptr) {
    const MainWindowState& state = StateOf(window);
    const MainWindowContent& content = *state.content;
    const RECT client = {0, 0, TwipsToPixels(content.ClientWidthTwips, dpi),
                         TwipsToPixels(content.UsageTopTwips, dpi) + state.usageHeight +
                             TwipsToPixels(content.UsageMarginTwips, dpi)};
    const RECT frame = FrameForClient(client, kStyle, kExStyle, dpi);
    SetWindowPos(window, nullptr, corner ? corner->x : 0, corner ? corner->y : 0,
                 frame.right - frame.left, frame.bottom - frame.top,
                 (corner ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_DPICHANGED: {
            if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0 || StateOf(window).usage == nullptr) {
                break;  // not dressed yet: it will be for the DPI it has then
            }
            // The suggested corner keeps the window under the mouse while it is dragged across;
            // the size is the content's, as wrapped text does not scale in proportion.
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            const POINT corner = {suggested->left, suggested->top};
            ApplyDpi(window, LOWORD(wParam));
            SizeFrameForDpi(window, LOWORD(wParam), &corner);
            return 0;
        }
        case WM_KEYDOWN:
            // As they close a message box.
            if (wParam == VK_ESCAPE || wParam == VK_RETURN) {
                SendMessageW(window, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// What a user is told when a system call stopped the run before it began: what was not done,
// the system's reason, and the call with its error number.
std::wstring SystemErrorMessage(const wchar_t* what, const wchar_t* call, DWORD error) {
    return std::wstring(what) + L"\n\n" + SystemReason(error) + L"\n(" + call + L", error " +
           std::to_wstring(error) + L")";
}

constexpr wchar_t kNoWindow[] = L"Deskglide could not open its window, so it did nothing.";

}  // namespace

WindowRun Win32Desktop::RunMainWindow(const MainWindowContent& content, int showCommand,
                                      const std::function<void(WindowHandle)>& onLoad) {
    const RunLockOutcome lock = TakeRunLock();
    if (lock.failedCall != nullptr && lock.error == WAIT_TIMEOUT) {
        MessageBoxW(nullptr,
                    L"Another Deskglide run is still busy, so this one did nothing. Try again "
                    L"when it has finished.",
                    L"Deskglide", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
        return WindowRun::OtherRunBusy;
    }
    if (lock.failedCall != nullptr) {
        ReportError(SystemErrorMessage(
            L"Deskglide could not make sure that no other run of it is busy, so it did nothing.",
            lock.failedCall, lock.error));
        return WindowRun::OtherRunBusy;
    }
    const auto noWindow = [this](const wchar_t* call) {
        ReportError(SystemErrorMessage(kNoWindow, call, GetLastError()));
        return WindowRun::NoWindow;
    };
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // The load event gets a message-only stand-in for the window: a run with a mode letter
    // closes it and ends without paying for what only the information window needs, above all
    // a top-level window (about 13 ms under Wine). It has nothing of its own to skip either:
    // EnumWindows lists no message-only window.
    WNDCLASSW standInClass = {};
    standInClass.lpfnWndProc = DefWindowProcW;
    standInClass.hInstance = instance;
    standInClass.lpszClassName = kStandInClass;
    if (RegisterClassW(&standInClass) == 0) {
        return noWindow(L"RegisterClassW");
    }
    const HWND standIn = CreateWindowExW(0, kStandInClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                         nullptr, instance, nullptr);
    if (standIn == nullptr) {
        return noWindow(L"CreateWindowExW");
    }
    mainWindow_ = FromHwnd(standIn);
    onLoad(mainWindow_);
    ReleaseRunLock();
    if (plan_) {
        ShowPlanNow();  // once the next run may go on
    }
    if (!IsWindow(standIn)) {
        return WindowRun::Ran;
    }
    DestroyWindow(standIn);

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
    if (RegisterClassExW(&windowClass) == 0) {
        return noWindow(L"RegisterClassExW");
    }
    MainWindowState state;
    state.content = &content;
    HWND window =
        CreateWindowExW(kExStyle, kWindowClass, content.Title.c_str(), kStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, &state);
    if (window == nullptr) {
        return noWindow(L"CreateWindowExW");
    }
    mainWindow_ = FromHwnd(window);
    state.label = CreateWindowExW(0, L"STATIC", content.InfoText.c_str(),
                                  WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window,
                                  nullptr, instance, nullptr);
    state.usage = CreateWindowExW(0, L"STATIC", content.UsageText.c_str(),
                                  WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window,
                                  nullptr, instance, nullptr);
    // Windows sends no DPI change for the DPI a window is created at: size for it here.
    const UINT dpi = ShownDpi(window);
    ApplyDpi(window, dpi);
    SizeFrameForDpi(window, dpi);
    // As the program was started, minimised too; but a window of fixed content has no
    // maximised form, so "Maximised" shows it as it is, and one that no one sees would wait for
    // ever, so "Hidden" (a launcher's, a scheduled task's) shows it too. Windows gives the first
    // ShowWindow of a process the show command it was started with in place of SW_SHOWNORMAL
    // (Wine does not), hence the second call.
    const bool asItIs = showCommand == SW_SHOWMAXIMIZED || showCommand == SW_HIDE;
    ShowWindow(window, asItIs ? SW_SHOWNORMAL : showCommand);
    if (IsZoomed(window) || IsWindowVisible(window) == 0) {
        ShowWindow(window, SW_SHOWNORMAL);
    }
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return WindowRun::Ran;
}
