// The bare minimum a pass costs: the same enumeration, visibility test, title read, rectangle
// read and one move per window as deskglide.exe, and nothing else.
//   reference_pass v   one pixel down, like "deskglide v 1"
//   reference_pass g   the gather rule, like "deskglide g"
#include <windows.h>

namespace {

bool gather = false;
RECT workArea;

BOOL CALLBACK MoveOne(HWND window, LPARAM) {
    wchar_t title[256];
    if (!IsWindowVisible(window) || GetWindowTextW(window, title, 256) == 0) {
        return TRUE;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    int x = rect.left;
    int y = rect.top + 1;
    if (gather) {
        x = rect.right > workArea.right ? workArea.right - (rect.right - rect.left) : rect.left;
        y = rect.bottom > workArea.bottom ? workArea.bottom - (rect.bottom - rect.top) : rect.top;
        x = rect.left < 0 ? 0 : x;
        y = rect.top < 0 ? 0 : y;
    }
    SetWindowPos(window, HWND_BOTTOM, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    gather = arguments != nullptr && arguments[0] == L'g';
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EnumWindows(MoveOne, 0);
    return 0;
}
