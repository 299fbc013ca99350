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

// Brings one axis back: the far edge onto the monitor's far edge, a near edge beyond the
// monitor's near edge onto it. The near test looks at the window's own near edge only, so a
// window longer than the monitor keeps its far edge on the monitor's far edge.
int32_t Gathered(int32_t nearEdge, int32_t farEdge, int32_t nearLimit, int32_t farLimit,
                 const DescribeQuantity& what) {
    int32_t position = nearEdge;
    if (farEdge > farLimit) {
        position = Sub32(farLimit, Sub32(farEdge, nearEdge, what), what);
    }
    if (nearEdge < nearLimit) {
        position = nearLimit;
    }
    return position;
}

// Gathers against the monitor nearest to the window, by what the user sees of it: the window
// moves by as much as its visible frame has to.
void GatherPosition(Desktop& desktop, WindowHandle window, const Rect& rect,
                    const std::wstring& title, int32_t& x, int32_t& y) {
    Rect frame = rect;
    if (!desktop.GetVisibleFrame(window, frame)) {
        frame = rect;
    }
    const MonitorArea monitor = desktop.MonitorNearest(frame);
    const DescribeQuantity vertical = Describe(L"The gathered vertical position", title);
    const DescribeQuantity horizontal = Describe(L"The gathered horizontal position", title);
    const int32_t frameY =
        Gathered(frame.top, frame.bottom, monitor.Bounds.top, monitor.WorkArea.bottom, vertical);
    const int32_t frameX =
        Gathered(frame.left, frame.right, monitor.Bounds.left, monitor.WorkArea.right, horizontal);
    y = Sub32(frameY, Sub32(frame.top, rect.top, vertical), vertical);
    x = Sub32(frameX, Sub32(frame.left, rect.left, horizontal), horizontal);
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
                GatherPosition(desktop, window, rect, title, x, y);
            }
        }
    }
    // Going to the bottom would take a topmost window out of the topmost band.
    const unsigned flags = state.Topmost ? kKeepSize | kKeepZOrder : kKeepSize;
    desktop.SetWindowPos(window, kInsertAtBottom, x, y, 0, 0, flags);
    return true;
}
