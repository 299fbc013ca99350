#pragma once

#include <string>
#include <string_view>

#include "platform/desktop.h"

// One space, then the command-line arguments with surrounding spaces removed, lowered in the
// user's locale. The leading space means every token, the first included, follows a space.
std::wstring BuildCommandText(Desktop& desktop);

// An option letter is present when it occurs anywhere in the command text.
bool HasLetter(std::wstring_view commandText, wchar_t letter);

// True when the whole command line is one of the ways people ask a program for help or for its
// version: help or version, alone or after -, -- or /, in any case. It shows the information
// window; any other line keeps its letters.
bool AsksForInformation(std::wstring_view commandText);

// True when the command text holds the word --dry-run, -dry-run or /dry-run (in any case), which
// it then loses: the rest of the line is read as it would be without it.
bool TakeDryRun(std::wstring& commandText);
