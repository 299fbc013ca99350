// Whole runs on the fake desktop with a random command line, list file, stored origins and
// window (its rectangle, restore place and state), apart at each 0xFF: each ends with a status
// the README lists and reports every error it stops on.
#include <cstdlib>
#include <cstring>

#include "fake_desktop.h"
#include "run/run_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string parts[4];
    for (size_t i = 0, part = 0; i < size; ++i) {
        if (data[i] == 0xFF && part < 3) {
            ++part;
        } else {
            parts[part] += static_cast<char>(data[i]);
        }
    }
    FakeDesktop desktop;
    desktop.DecodeText(parts[0], TextEncoding::Ansi, desktop.Arguments);
    desktop.Files = {{L"C:\\Tools\\exclude.txt", {parts[1]}}, {L"C:\\Tools\\include.txt", {}}};
    desktop.DesktopKey[L"WallpaperOriginY"] = {kRegDword, {}, parts[2]};
    desktop.DecodeText(parts[2], TextEncoding::Utf8, desktop.DesktopKey[L"WallpaperOriginX"].Text);
    FakeDesktop::Window window{WindowHandle{1}, L"Window", {}, true, {}, {}, false, RestorePlace{}};
    parts[3].resize(2 * sizeof(Rect) + 1);
    std::memcpy(&window.Bounds, parts[3].data(), sizeof(Rect));
    std::memcpy(&window.Restore->Bounds, parts[3].data() + sizeof(Rect), sizeof(Rect));
    window.Restore->Frame = window.Restore->Bounds;
    window.State = {.Maximised = (parts[3].back() & 1) != 0,
                    .Minimised = (parts[3].back() & 2) != 0};
    desktop.Windows = {window};
    const int status = RunLoadEvent(desktop, WindowHandle{2});
    if (status < 0 || status == 1 || status > 4 ||
        desktop.Errors.size() != (status != 0 ? 1u : 0u)) {
        std::abort();
    }
    return 0;
}
