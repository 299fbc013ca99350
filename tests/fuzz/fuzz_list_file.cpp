// A list file of random bytes, in either code page: loading never fails, the entries joined
// again with CR LF give back the decoded text lowered, and the filter answers for any title.
#include <cstdlib>

#include "common/marked_text.h"
#include "fake_desktop.h"
#include "fuzz_input.h"
#include "windows/window_list.h"

namespace {

std::wstring Joined(const RunSettings& settings) {
    std::wstring text;
    for (size_t k = 0; k < settings.WindowList.size(); ++k) {
        text += (k == 0 ? L"" : L"\r\n");
        text += ListEntryText(settings, settings.WindowList[k]);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    FakeDesktop desktop;
    const auto flags = input.Take<uint8_t>();
    desktop.AnsiCodePage =
        (flags & 1) ? FakeDesktop::CodePage::MultiByte : FakeDesktop::CodePage::SingleByte;
    const std::wstring path = L"C:\\Tools\\exclude.txt";
    desktop.Files[path].Bytes = input.RestAsBytes();
    desktop.Files[path].Unreadable = (flags & 2) != 0;

    RunSettings settings;
    settings.ExcludeMode = (flags & 4) != 0;
    LoadWindowList(desktop, settings, path);
    if (!settings.ListLoaded) {
        std::abort();
    }
    std::wstring expected;
    if (!desktop.Files[path].Unreadable && !DecodeMarkedText(desktop.Files[path].Bytes, expected)) {
        expected = desktop.FromAnsi(desktop.Files[path].Bytes);
    }
    if (Joined(settings) != desktop.LowerCase(expected)) {
        std::abort();
    }
    for (const ListEntry& listed : settings.WindowList) {
        const std::wstring entry(ListEntryText(settings, listed));
        if (entry.find(L"\r\n") != std::wstring::npos) {
            std::abort();
        }
        // An entry always matches a title made of itself, unless it is empty.
        const bool skipped = IsSkippedByList(desktop, settings, L"<" + entry + L">");
        if (!entry.empty() && skipped != settings.ExcludeMode) {
            std::abort();
        }
    }
    return 0;
}
