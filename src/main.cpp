#include <windows.h>

#include "platform/win32_desktop.h"
#include "run/run_sequence.h"
#include "ui/frm_main.h"

namespace {

// Runs that did nothing; a message box has said why. 5 also when the system would not give the
// lock that keeps runs apart.
constexpr int kOtherRunBusyStatus = 5;
constexpr int kNoWindowStatus = 6;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    Win32Desktop desktop;
    int status = 0;
    switch (desktop.RunMainWindow(FrmMainContent(), showCommand, [&](WindowHandle self) {
        status = RunLoadEvent(desktop, self);
    })) {
        case WindowRun::OtherRunBusy:
            return kOtherRunBusyStatus;
        case WindowRun::NoWindow:
            return kNoWindowStatus;
        case WindowRun::Ran:
            break;
    }
    return status;
}
