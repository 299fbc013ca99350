#include <windows.h>

#include "platform/win32_desktop.h"
#include "run/run_sequence.h"
#include "ui/frm_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Win32Desktop desktop;
    int status = 0;
    desktop.RunMainWindow(FrmMainContent(),
                          [&](WindowHandle self) { status = RunLoadEvent(desktop, self); });
    return status;
}
