#include "windows/window_list.h"

#include <exception>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

// The whole file as text, lowered: marked UTF-8 or UTF-16 LE; unmarked, UTF-8 where it is
// valid UTF-8 (as Notepad saves today), else the ANSI code page. Text in the ANSI code page
// with letters beyond ASCII is almost never valid UTF-8. Empty when the file cannot be read.
std::wstring ReadLoweredListText(Desktop& desktop, const std::wstring& path) {
    try {
        std::string bytes;
        if (!desktop.ReadFileBytes(path, bytes)) {
            return {};
        }
        const std::string_view raw = bytes;
        std::wstring text;
        if (raw.starts_with(kUtf8Mark)) {
            desktop.DecodeText(raw.substr(kUtf8Mark.size()), TextEncoding::Utf8, text);
        } else if (raw.starts_with(kUtf16LeMark)) {
            desktop.DecodeText(raw.substr(kUtf16LeMark.size()), TextEncoding::Utf16Le, text);
        } else if (!desktop.DecodeText(raw, TextEncoding::Utf8, text)) {
            desktop.DecodeText(raw, TextEncoding::Ansi, text);
        }
        // Lowered once here, not once per window: lowering maps character by character, so
        // the line breaks stay where they were.
        return desktop.LowerCase(text);
    } catch (const std::exception&) {
        // A file too large to hold is a read error like any other.
        return {};
    }
}

// Nothing is trimmed, and an LF alone is part of an entry.
std::vector<ListEntry> SplitAtCrLf(std::wstring_view text) {
    std::vector<ListEntry> entries;
    if (text.empty()) {
        return entries;
    }
    constexpr std::wstring_view kSeparator = L"\r\n";
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(kSeparator, start);
        if (end == std::wstring_view::npos) {
            entries.push_back({start, text.size() - start});
            return entries;
        }
        entries.push_back({start, end - start});
        start = end + kSeparator.size();
    }
}

// The text of one entry of the loaded list.
std::wstring_view ListEntryText(const RunSettings& settings, const ListEntry& entry) {
    return std::wstring_view(settings.WindowListText).substr(entry.Start, entry.Length);
}

}  // namespace

void LoadWindowList(Desktop& desktop, RunSettings& settings, const std::wstring& path) {
    // A test that fails with an error is no proof of absence: the read is tried anyway.
    if (desktop.TestFile(path) == FileTest::Absent) {
        return;
    }
    settings.WindowListText = ReadLoweredListText(desktop, path);
    settings.WindowList = SplitAtCrLf(settings.WindowListText);
    settings.ListLoaded = true;
}

bool IsSkippedByList(Desktop& desktop, const RunSettings& settings, const std::wstring& title) {
    const std::wstring loweredTitle = desktop.LowerCase(title);
    for (const ListEntry& entry : settings.WindowList) {
        const std::wstring_view text = ListEntryText(settings, entry);
        if (!text.empty() && loweredTitle.find(text) != std::wstring::npos) {
            return settings.ExcludeMode;
        }
    }
    return !settings.ExcludeMode;
}
