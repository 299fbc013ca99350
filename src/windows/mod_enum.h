#pragma once

#include "common/run_settings.h"
#include "platform/desktop.h"

// One pass over every top-level window: each window that takes part is shifted by the steps, or
// gathered into the work area of the monitor nearest to it, and put at the bottom of the
// stacking order without being activated. Minimised windows stay parked and their restore
// place moves instead; maximised ones are gathered to where maximising puts them, full-screen
// ones not at all; topmost ones keep their place in the stacking order. A window that the move
// takes onto a monitor of another DPI is placed once more, with the size it has there.
void MoveAllWindows(Desktop& desktop, const RunSettings& settings, WindowHandle self);

// Handles one window of the pass; always returns true so that every window is visited.
bool MoveWindowCallback(Desktop& desktop, const RunSettings& settings, WindowHandle self,
                        WindowHandle shell, WindowHandle window);
