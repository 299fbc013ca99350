#include <windows.h>

#include "platform/win32_desktop.h"
#include "run/run_sequence.h"
#include "ui/frm_main.h"

namespace {

// Another run held the desktop too long; this one did nothing.
constexpr int kExitOtherRunBusy = 5;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Win32Desktop desktop;
    int status = 0;
    if (!desktop.RunMainWindow(FrmMainContent(),
                               [&](WindowHandle self) { status = RunLoadEvent(desktop, self); })) {
        return kExitOtherRunBusy;
    }
    return status;
}
