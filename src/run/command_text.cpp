#include "run/command_text.h"

#include "common/trim_spaces.h"

std::wstring BuildCommandText(Desktop& desktop) {
    return L" " + desktop.LowerCase(TrimSpaces(desktop.CommandLineArguments()));
}

bool HasLetter(std::wstring_view commandText, wchar_t letter) {
    return commandText.find(letter) != std::wstring_view::npos;
}

bool TakeDryRun(std::wstring& commandText) {
    bool found = false;
    for (const std::wstring_view word : {L" --dry-run", L" -dry-run", L" /dry-run"}) {
        for (size_t at = commandText.find(word); at != std::wstring::npos;
             at = commandText.find(word, at)) {
            const size_t end = at + word.size();
            if (end < commandText.size() && commandText[end] != L' ') {
                ++at;  // part of a longer word
                continue;
            }
            commandText.erase(at, word.size());
            found = true;
        }
    }
    if (commandText.empty()) {
        commandText = L" ";
    }
    return found;
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
