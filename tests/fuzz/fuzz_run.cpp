// Whole runs on the fake desktop with a random command line, window, list file and stored
// origins: each ends with a status the README lists, reports every error it stops on, and
// closes every registry key it opened.
#include <cstdlib>
#include <cstring>

#include "fake_desktop.h"
#include "run/run_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t flags = 0;
    Rect bounds;
    if (size < 1 + sizeof bounds) {
        return 0;
    }
    std::memcpy(&flags, data, 1);
    std::memcpy(&bounds, data + 1, sizeof bounds);
    std::string parts[3];  // command line, list file, stored origins: apart at each 0xFF
    for (size_t i = 1 + sizeof bounds, part = 0; i < size; ++i) {
        part += data[i] == 0xFF && part < 2 ? 1 : 0;
        parts[part] += data[i] == 0xFF ? "" : std::string(1, static_cast<char>(data[i]));
    }
    FakeDesktop desktop;
    desktop.Separator = flags & 1 ? L"," : L".";
    desktop.Windows = {{WindowHandle{1}, "Window", bounds}};
    desktop.Arguments.assign(parts[0].begin(), parts[0].end());
    const FileTest test = flags & 2 ? FileTest::Failed : FileTest::Present;
    desktop.Files = {{L"C:\\Tools\\exclude.txt", {parts[1], test}},
                     {L"C:\\Tools\\include.txt", {parts[1], test}}};
    const unsigned long type = flags & 4 ? kRegBinary : kRegSz;
    desktop.DesktopKey = {{"WallpaperOriginX", {type, parts[2]}},
                          {"WallpaperOriginY", {type, parts[2]}}};
    const int status = RunLoadEvent(desktop, WindowHandle{2});
    if ((status != 0 && status != 2 && status != 3) || desktop.OpenKeys != 0 ||
        desktop.Errors.size() != (status != 0 ? 1u : 0u)) {
        std::abort();
    }
    return 0;
}
