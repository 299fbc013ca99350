#pragma once

#include "common/run_report.h"
#include "common/run_settings.h"
#include "platform/desktop.h"

// The one run record, alive for the whole process.
extern RunSettings Settings;

// The load event of the program's window: the whole run. Closes the window when a mode letter
// is present, or the run is a dry run; otherwise returns and the window is shown. Lets a
// run-stopping error through. What the user is told afterwards goes into `report`.
void LoadMainWindow(Desktop& desktop, WindowHandle self, RunReport& report);

// Runs the load event and turns a run-stopping error into a report to the user and a closed
// window; a dry run tells what it found, the error too. Returns the process exit status: 0, 7
// when the system did not let the run move some windows, or the error kind's status.
int RunLoadEvent(Desktop& desktop, WindowHandle self);
