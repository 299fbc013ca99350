#pragma once

#include "common/run_report.h"
#include "common/run_settings.h"
#include "platform/desktop.h"

// Moves the wallpaper origin that `Mode` selects by Direction x its step (in mode Gather,
// resets both origins to 0), then re-applies the current wallpaper where that leaves every
// monitor the picture it shows (not for a solid colour, a slideshow or Windows spotlight). In
// mode None only the wallpaper path is read. An origin that is missing or not a number, or a new
// origin out of range, raises the run-stopping error before anything is written. A dry run
// writes and re-applies nothing, and tells in `report` what would change.
void ShiftWallpaper(Desktop& desktop, const RunSettings& settings, RunReport& report);
