#pragma once

#include <string>

#include "common/run_settings.h"
#include "platform/desktop.h"

// Reads the list file at `path` into `WindowListText` and `WindowList`, one entry per line (lines
// end at CR LF, LF or CR), lowered in the user's locale, and sets `ListLoaded` and `ListPath`; a
// dry run keeps the text as written too. A missing file (a
// hidden or system file, or a folder, counts as missing) leaves the settings as they are. A file
// that exists but cannot be read raises the unreadable-list error, with the system's reason.
void LoadWindowList(Desktop& desktop, RunSettings& settings, const std::wstring& path);

// True when the pass must leave the window with this title alone: in exclude mode, when the
// title contains an entry; otherwise, when it contains none. The test ignores case, in the
// user's locale; empty entries never match. A dry run gets the entry that matched, as written.
bool IsSkippedByList(Desktop& desktop, const RunSettings& settings, const std::wstring& title,
                     std::wstring* entryShown = nullptr);
