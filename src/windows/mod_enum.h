#pragma once

#include "common/run_settings.h"
#include "platform/desktop.h"

// One pass over every top-level window: each window that takes part is shifted by the steps, or
// gathered (unless the user can see it whole on the monitors' work areas) into the work area of
// the monitor nearest to it, and put at the bottom of the stacking order without being
// activated. Minimised windows stay parked and their restore place moves instead; maximised ones
// are gathered to where maximising puts them, with the size it gives them there, full-screen
// ones not at all; topmost ones keep their place in the stacking order. A window that the move
// takes onto a monitor of another DPI is placed once more, with the size it has there.
void MoveAllWindows(Desktop& desktop, const RunSettings& settings, WindowHandle self);
