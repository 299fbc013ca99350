#pragma once

#include "common/run_settings.h"
#include "platform/desktop.h"

// One pass over every top-level window: each visible, titled window other than `self`, the
// shell's desktop window and windows the user cannot see (cloaked) is shifted by the steps, or
// gathered into the work area of the monitor nearest to it, and put at the bottom of the
// stacking order without being activated. Minimised windows stay parked and their restore
// place moves instead; maximised ones are gathered to where maximising puts them, full-screen
// ones not at all; topmost ones keep their place in the stacking order.
void MoveAllWindows(Desktop& desktop, const RunSettings& settings, WindowHandle self);

// Handles one window of the pass; always returns true so that every window is visited.
bool MoveWindowCallback(Desktop& desktop, const RunSettings& settings, WindowHandle self,
                        WindowHandle shell, WindowHandle window);
