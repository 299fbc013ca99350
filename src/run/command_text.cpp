#include "run/command_text.h"

#include "common/trim_spaces.h"

std::wstring BuildCommandText(Desktop& desktop) {
    return L" " + desktop.LowerCase(TrimSpaces(desktop.CommandLineArguments()));
}

bool HasLetter(std::wstring_view commandText, wchar_t letter) {
    return commandText.find(letter) != std::wstring_view::npos;
}
