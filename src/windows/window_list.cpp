#include "windows/window_list.h"

#include <exception>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

// The whole file as text: marked UTF-8 or UTF-16 LE, otherwise the ANSI code page. Empty when
// the file cannot be read.
std::wstring ReadListText(Desktop& desktop, const std::wstring& path) {
    try {
        std::string bytes;
        if (!desktop.ReadFileBytes(path, bytes)) {
            return {};
        }
        const std::string_view text = bytes;
        if (text.starts_with(kUtf8Mark)) {
            return desktop.FromUnicode(text.substr(kUtf8Mark.size()), UnicodeForm::Utf8);
        }
        if (text.starts_with(kUtf16LeMark)) {
            return desktop.FromUnicode(text.substr(kUtf16LeMark.size()), UnicodeForm::Utf16Le);
        }
        return desktop.FromAnsi(text);
    } catch (const std::exception&) {
        // A file too large to hold is a read error like any other.
        return {};
    }
}

// Nothing is trimmed, and an LF alone is part of an entry.
std::vector<std::wstring> SplitAtCrLf(std::wstring_view text) {
    std::vector<std::wstring> entries;
    if (text.empty()) {
        return entries;
    }
    constexpr std::wstring_view kSeparator = L"\r\n";
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(kSeparator, start);
        if (end == std::wstring_view::npos) {
            entries.emplace_back(text.substr(start));
            return entries;
        }
        entries.emplace_back(text.substr(start, end - start));
        start = end + kSeparator.size();
    }
}

}  // namespace

void LoadWindowList(Desktop& desktop, RunSettings& settings, const std::wstring& path) {
    // A test that fails with an error is no proof of absence: the read is tried anyway.
    if (desktop.TestFile(path) == FileTest::Absent) {
        return;
    }
    settings.WindowList = SplitAtCrLf(ReadListText(desktop, path));
    settings.ListLoaded = true;
}

bool IsSkippedByList(Desktop& desktop, const RunSettings& settings, const std::wstring& title) {
    const std::wstring loweredTitle = desktop.LowerCase(title);
    for (const std::wstring& entry : settings.WindowList) {
        if (!entry.empty() && loweredTitle.find(desktop.LowerCase(entry)) != std::wstring::npos) {
            return settings.ExcludeMode;
        }
    }
    return !settings.ExcludeMode;
}
