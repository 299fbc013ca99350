#pragma once

#include <string>
#include <string_view>

// Removes leading and trailing U+0020 only; tabs and other blanks stay.
std::wstring TrimSpaces(std::wstring_view text);
