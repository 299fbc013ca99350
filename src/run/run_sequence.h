#pragma once

#include "common/run_settings.h"
#include "platform/desktop.h"

// The one run record, alive for the whole process.
extern RunSettings Settings;

// The load event of the program's window: the whole run. Closes the window when a mode letter
// is present; otherwise returns and the window is shown. Lets a run-stopping error through.
void LoadMainWindow(Desktop& desktop, WindowHandle self);

// Runs the load event and turns a run-stopping error into a report to the user and a closed
// window. Returns the process exit status: 0, or the error kind's status.
int RunLoadEvent(Desktop& desktop, WindowHandle self);
