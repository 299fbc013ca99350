#pragma once

#include <string>
#include <string_view>

#include "platform/desktop.h"

// One space, then the command-line arguments with surrounding spaces removed, lowered in the
// user's locale. The leading space means every token, the first included, follows a space.
std::wstring BuildCommandText(Desktop& desktop);

// An option letter is present when it occurs anywhere in the command text.
bool HasLetter(std::wstring_view commandText, wchar_t letter);
