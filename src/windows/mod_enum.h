#pragma once

#include "common/run_report.h"
#include "common/run_settings.h"
#include "platform/desktop.h"

// One pass over every top-level window: each window that takes part is shifted by the steps, or
// gathered (unless the user can see it whole on the monitors' work areas) into the work area of
// the monitor nearest to it, and put at the bottom of the stacking order without being
// activated. Minimised windows stay parked and their restore place moves instead; full-screen
// ones are not gathered, nor maximised ones where maximising put them, and other maximised ones
// are maximised again on the monitor their restore place is gathered onto; topmost ones keep
// their place in the stacking order. A window that the move takes onto a monitor of another DPI
// is placed once more, with the size it has there.
// A window that the system does not let the run move is counted in `report`. A dry run moves
// nothing and tells in `report`, for each window, what the run would do, or why not.
void MoveAllWindows(Desktop& desktop, const RunSettings& settings, WindowHandle self,
                    RunReport& report);
