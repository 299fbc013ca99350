#include "windows/mod_enum.h"

#include "common/checked_math.h"
#include "windows/window_list.h"

namespace {

constexpr int kTitleBufferSize = 256;

// Overflow messages name the window; they are built only when a value overflows.
DescribeQuantity Describe(const wchar_t* quantity, const std::wstring& title) {
    return [quantity, &title] {
        return std::wstring(quantity) + L" of the window \"" + title + L"\"";
    };
}

int32_t Shifted(int32_t position, const RunSettings& settings, int32_t step,
                const DescribeQuantity& what) {
    return Add32(position, Mul32(settings.Direction, step, what), what);
}

// Brings one axis back: the far edge onto the work area's far edge, a negative near edge to 0.
int32_t Gathered(int32_t nearEdge, int32_t farEdge, int32_t workAreaFarEdge,
                 const DescribeQuantity& what) {
    int32_t position = nearEdge;
    if (farEdge > workAreaFarEdge) {
        position = Sub32(workAreaFarEdge, Sub32(farEdge, nearEdge, what), what);
    }
    if (nearEdge < 0) {
        position = 0;
    }
    return position;
}

}  // namespace

void MoveAllWindows(Desktop& desktop, const RunSettings& settings, WindowHandle self) {
    const WindowHandle shell = desktop.ShellWindow();
    desktop.EnumWindows([&](WindowHandle window) {
        return MoveWindowCallback(desktop, settings, self, shell, window);
    });
}

bool MoveWindowCallback(Desktop& desktop, const RunSettings& settings, WindowHandle self,
                        WindowHandle shell, WindowHandle window) {
    if (window == self || window == shell || !desktop.IsWindowVisible(window)) {
        return true;
    }
    char buffer[kTitleBufferSize] = {};
    const int length = desktop.GetWindowTextA(window, buffer, kTitleBufferSize);
    if (length <= 0) {
        return true;
    }
    const std::wstring title = desktop.FromAnsi(std::string_view(buffer, length));
    if (settings.ListLoaded && IsSkippedByList(desktop, settings, title)) {
        return true;
    }
    const Rect rect = desktop.GetWindowRect(window);
    const WindowState state = desktop.GetWindowState(window);
    int32_t x = rect.left;
    int32_t y = rect.top;
    // A minimised window is parked off screen; moving the parked position shows the user
    // nothing, or a stub at the gathered place.
    if (!state.Minimised) {
        if (settings.MoveVertical) {
            y = Shifted(rect.top, settings, settings.VerticalStep,
                        Describe(L"The new vertical position", title));
        }
        if (settings.MoveHorizontal) {
            x = Shifted(rect.left, settings, settings.HorizontalStep,
                        Describe(L"The new horizontal position", title));
        }
        if (settings.GatherWindows) {
            // A maximised window's borders lie outside the work area on purpose.
            x = rect.left;
            y = rect.top;
            if (!state.Maximised) {
                y = Gathered(rect.top, rect.bottom, settings.WorkArea.bottom,
                             Describe(L"The gathered vertical position", title));
                x = Gathered(rect.left, rect.right, settings.WorkArea.right,
                             Describe(L"The gathered horizontal position", title));
            }
        }
    }
    // Going to the bottom would take a topmost window out of the topmost band.
    const unsigned flags = state.Topmost ? kKeepSize | kKeepZOrder : kKeepSize;
    desktop.SetWindowPos(window, kInsertAtBottom, x, y, 0, 0, flags);
    return true;
}
