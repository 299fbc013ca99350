#include "windows/window_list.h"

#include <exception>
#include <string_view>
#include <utility>
#include <vector>

#include "common/run_error.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// UTF-16 BE as UTF-16 LE: the bytes of each unit swapped. An odd last byte stays as it is.
std::string SwappedPairs(std::string_view bytes) {
    std::string swapped(bytes);
    for (size_t i = 1; i < swapped.size(); i += 2) {
        std::swap(swapped[i - 1], swapped[i]);
    }
    return swapped;
}

// The whole file as text: marked UTF-8, UTF-16 LE or BE; unmarked, UTF-8 where it is valid
// UTF-8 (as Notepad saves today), else the ANSI code page. Text in the ANSI code page with
// letters beyond ASCII is almost never valid UTF-8. A file that cannot be read stops the run:
// read as an empty list, it would move the very windows the user protected. Also lowered once
// here, not once per window: lowering maps character by character, so the entries lie where
// they do in the text as written, which a dry run keeps.
void ReadListText(Desktop& desktop, const std::wstring& path, RunSettings& settings) {
    std::string bytes;
    std::wstring reason;
    try {
        if (desktop.ReadFileBytes(path, bytes, reason)) {
            const std::string_view raw = bytes;
            std::wstring text;
            if (raw.starts_with(kUtf8Mark)) {
                desktop.DecodeText(raw.substr(kUtf8Mark.size()), TextEncoding::Utf8, text);
            } else if (raw.starts_with(kUtf16LeMark)) {
                desktop.DecodeText(raw.substr(kUtf16LeMark.size()), TextEncoding::Utf16Le, text);
            } else if (raw.starts_with(kUtf16BeMark)) {
                desktop.DecodeText(SwappedPairs(raw.substr(kUtf16BeMark.size())),
                                   TextEncoding::Utf16Le, text);
            } else if (!desktop.DecodeText(raw, TextEncoding::Utf8, text)) {
                desktop.DecodeText(raw, TextEncoding::Ansi, text);
            }
            settings.WindowListText = desktop.LowerCase(text);
            settings.WindowListShown = settings.DryRun ? std::move(text) : std::wstring();
            return;
        }
    } catch (const std::exception&) {
        reason = L"It is too large to read.";
    }
    throw RunError(RunErrorKind::ListUnreadable, L"Deskglide could not read the list " + path +
                                                     L", so it did nothing.\n\n" + reason);
}

// Entries end at CR LF, as Notepad writes them, and at an LF or a CR alone, as files from other
// systems and tools have them: at every CR and every LF, since the empty entry between the two
// of a pair never matches. Nothing is trimmed.
std::vector<ListEntry> SplitLines(std::wstring_view text) {
    std::vector<ListEntry> entries;
    for (size_t start = 0;;) {
        const size_t end = text.find_first_of(L"\r\n", start);
        entries.push_back({start, (end == std::wstring_view::npos ? text.size() : end) - start});
        if (end == std::wstring_view::npos) {
            return entries;
        }
        start = end + 1;
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
    ReadListText(desktop, path, settings);
    settings.WindowList = SplitLines(settings.WindowListText);
    settings.ListLoaded = true;
    settings.ListPath = path;
}

bool IsSkippedByList(Desktop& desktop, const RunSettings& settings, const std::wstring& title,
                     std::wstring* entryShown) {
    const std::wstring loweredTitle = desktop.LowerCase(title);
    for (const ListEntry& entry : settings.WindowList) {
        const std::wstring_view text = ListEntryText(settings, entry);
        if (!text.empty() && loweredTitle.find(text) != std::wstring::npos) {
            if (entryShown != nullptr) {
                *entryShown = settings.WindowListShown.substr(entry.Start, entry.Length);
            }
            return settings.ExcludeMode;
        }
    }
    return !settings.ExcludeMode;
}
