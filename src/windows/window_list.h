#pragma once

#include <string>

#include "common/run_settings.h"
#include "platform/desktop.h"

// Reads the list file at `path` into `WindowListText` and `WindowList`, one entry per CR LF
// separated line, lowered in the user's locale, and sets `ListLoaded`. A missing file (a hidden or
// system file, or a folder, counts as missing) leaves the settings as they are. A file that cannot
// be read gives an empty list that is still loaded: no read error ever stops the run.
void LoadWindowList(Desktop& desktop, RunSettings& settings, const std::wstring& path);

// True when the pass must leave the window with this title alone: in exclude mode, when the
// title contains an entry; otherwise, when it contains none. The test ignores case, in the
// user's locale; empty entries never match.
bool IsSkippedByList(Desktop& desktop, const RunSettings& settings, const std::wstring& title);
