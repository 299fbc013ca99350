#include <windows.h>

#include "platform/win32_desktop.h"
#include "run/run_sequence.h"
#include "ui/frm_main.h"

// Exit status when the program's window cannot be made; the error box says why.
constexpr int kNoWindowStatus = 6;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    Win32Desktop desktop;
    int status = 0;
    if (!desktop.RunMainWindow(FrmMainContent(), showCommand,
                               [&](WindowHandle self) { status = RunLoadEvent(desktop, self); })) {
        return kNoWindowStatus;
    }
    return status;
}
