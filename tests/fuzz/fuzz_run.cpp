// Whole runs on the fake desktop with a random command line, list file, stored origins and
// window, apart at each 0xFF: each ends with a status the README lists, reports every error it
// stops on, and closes every registry key it opened.
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
    desktop.Arguments = desktop.FromAnsi(parts[0]);
    desktop.Files = {{L"C:\\Tools\\exclude.txt", {parts[1]}}, {L"C:\\Tools\\include.txt", {}}};
    desktop.DesktopKey = {{"WallpaperOriginX", {kRegSz, parts[2]}},
                          {"WallpaperOriginY", {kRegBinary, parts[2]}}};
    desktop.Windows = {{WindowHandle{1}, "Window", {}}};
    std::memcpy(&desktop.Windows[0].Bounds, parts[3].data(),
                std::min(parts[3].size(), sizeof(Rect)));
    const int status = RunLoadEvent(desktop, WindowHandle{2});
    if ((status != 0 && status != 2 && status != 3) || desktop.OpenKeys != 0 ||
        desktop.Errors.size() != (status != 0 ? 1u : 0u)) {
        std::abort();
    }
    return 0;
}
