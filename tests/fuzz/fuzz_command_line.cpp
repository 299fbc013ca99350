// The whole run on the fake desktop with a random command line, work area and windows: it ends
// normally or with a reported run-stopping error, and every move it makes follows the rules.
#include <cstdlib>

#include "fake_desktop.h"
#include "fuzz_input.h"
#include "run/run_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    FakeDesktop desktop;
    desktop.WorkArea = {input.Take<int32_t>(), input.Take<int32_t>(), input.Take<int32_t>(),
                        input.Take<int32_t>()};
    const Rect bounds{input.Take<int32_t>(), input.Take<int32_t>(), input.Take<int32_t>(),
                      input.Take<int32_t>()};
    desktop.Separator = (input.Take<uint8_t>() & 1) ? L"," : L".";
    desktop.AddWindow("Window", bounds);
    desktop.AddWindow("", bounds);
    desktop.AddWindow("Hidden", bounds, false);
    desktop.Arguments = input.RestAsText();

    const int status = RunLoadEvent(desktop, 1);
    const bool stopped = status != 0;
    if (stopped != !desktop.Errors.empty() || desktop.Moves.size() > 1) {
        std::abort();
    }
    if (!desktop.Moves.empty() && desktop.WindowAt(desktop.Moves[0].Window).Title != "Window") {
        std::abort();  // only the visible, titled window may move
    }
    if (Settings.Mode == ScrollMode::None && !desktop.Moves.empty()) {
        std::abort();
    }
    return 0;
}
