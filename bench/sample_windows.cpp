// Opens titled sample windows and keeps them answering until it is ended.
//   sample_windows N      N small windows spread over the work area
//   sample_windows demo   a few windows, some off the bottom-right edge, some at negative
//                         coordinates
//   sample_windows workarea  prints the work area (left top right bottom, in pixels) and ends
// Once every window exists, sets the event DeskglideSamplesReady if a benchmark created it, or
// else prints "ready".
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        wchar_t title[256];
        GetWindowTextW(window, title, 256);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, title, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Open(const std::wstring& title, int x, int y, int width, int height) {
    CreateWindowExW(0, L"DeskglideSample", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y,
                    width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void OpenDemoWindows() {
    Open(L"Notes", 60, 60, 320, 220);
    Open(L"Inbox", 420, 120, 360, 240);
    Open(L"Off the bottom right", 800, 580, 360, 260);
    Open(L"Off the right edge", 880, 300, 300, 200);
    Open(L"Above and left of the screen", -140, -90, 340, 230);
    Open(L"Left of the screen", -200, 420, 320, 200);
}

void OpenSpreadWindows(int count) {
    for (int k = 0; k < count; ++k) {
        Open(L"Sample window " + std::to_wstring(k + 1), 20 + (k * 37) % 700, 20 + (k * 23) % 500,
             200, 120);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring what = argc > 1 ? argv[1] : L"demo";
    if (what == L"workarea") {
        SetProcessDPIAware();  // in pixels at any DPI, not scaled for a program that is not aware
        RECT work = {};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        std::printf("%ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
        return 0;
    }
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = SampleProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"DeskglideSample";
    RegisterClassExW(&windowClass);

    if (what == L"demo") {
        OpenDemoWindows();
    } else {
        OpenSpreadWindows(_wtoi(what.c_str()));
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"DeskglideSamplesReady")) {
        SetEvent(ready);
        CloseHandle(ready);
    } else {
        std::printf("ready\n");
        std::fflush(stdout);
    }
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
