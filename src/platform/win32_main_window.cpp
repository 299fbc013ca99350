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

// Font, label rectangle and icons for `dpi`; the caller sizes the frame.
void ApplyDpi(HWND window, UINT dpi) {
    MainWindowState& state = StateOf(window);
    FontHandle font(CreateMessageFont(dpi));
    IconHandle bigIcon = LoadAppIcon(SM_CXICON, dpi);
    IconHandle smallIcon = LoadAppIcon(SM_CXSMICON, dpi);
    const MainWindowContent& content = *state.content;
    SendMessageW(state.label, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    SetWindowPos(state.label, nullptr, TwipsToPixels(content.InfoLeftTwips, dpi),
                 TwipsToPixels(content.InfoTopTwips, dpi),
                 TwipsToPixels(content.InfoWidthTwips, dpi),
                 TwipsToPixels(content.InfoHeightTwips, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(state.label, nullptr, TRUE);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));

    // The old ones go only now that nothing uses them any more.
    state.font = std::move(font);
    state.bigIcon = std::move(bigIcon);
    state.smallIcon = std::move(smallIcon);
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
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
            break;
        }
        case WM_DPICHANGED: {
            if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0 || StateOf(window).label == nullptr) {
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

// What a user is told when a system call stopped the run before it began: what was not done,
// the system's reason, and the call with its error number.
std::wstring SystemErrorMessage(const wchar_t* what, const wchar_t* call, DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length > 0 ? std::wstring(text, length) : L"Unknown error.";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n')) {
        reason.pop_back();
    }
    return std::wstring(what) + L"\n\n" + reason + L"\n(" + call + L", error " +
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
    // Windows sends no DPI change for the DPI a window is created at: size for it here.
    const UINT dpi = WindowDpi(window);
    ApplyDpi(window, dpi);
    SizeFrameForDpi(window, dpi);
    // As the program was started, minimised too; but a window of fixed content has no
    // maximised form, so "Maximised" shows it as it is. Windows gives the first ShowWindow of a
    // process the show command it was started with in place of SW_SHOWNORMAL, hence the check.
    ShowWindow(window, showCommand == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : showCommand);
    if (IsZoomed(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return WindowRun::Ran;
}
