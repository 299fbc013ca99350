#include "run/command_text.h"

#include "common/trim_spaces.h"

std::wstring BuildCommandText(Desktop& desktop) {
    return L" " + desktop.LowerCase(TrimSpaces(desktop.CommandLineArguments()));
}

bool HasLetter(std::wstring_view commandText, wchar_t letter) {
    return commandText.find(letter) != std::wstring_view::npos;
}

bool AsksForInformation(std::wstring_view commandText) {
    for (const wchar_t* request : {L" help", L" -help", L" --help", L" /help", L" version",
                                   L" -version", L" --version", L" /version"}) {
        if (commandText == request) {
            return true;
        }
    }
    return false;
}
