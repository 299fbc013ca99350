#include "windows/mod_enum.h"

#include "common/checked_math.h"
#include "common/run_error.h"
#include "windows/window_list.h"

namespace {

struct Position {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Position&) const = default;
};

// Overflow messages name the window; they are built only when a value overflows.
DescribeQuantity Describe(const wchar_t* quantity, const std::wstring& title) {
    return
        [quantity, &title] { return std::wstring(quantity) + L" of the window " + Quoted(title); };
}

int32_t Shifted(int32_t position, const RunSettings& settings, int32_t step,
                const DescribeQuantity& what) {
    return Add32(position, DirectedStep(settings.Direction, step), what);
}

// Where `edge` goes when `from` moves to `at`; worked out wide, so that an overflow message
// gives that place itself, not a distance on the way to it.
int32_t MovedEdge(int32_t at, int32_t from, int32_t edge, const DescribeQuantity& what) {
    return Narrow32(int64_t{at} + (int64_t{edge} - from), what);
}

// Brings one axis back onto the work area: the far edge onto its far edge, unless that puts
// the near edge before its near edge; then the near edge onto its near edge. Gathering again
// changes nothing.
int32_t Gathered(int32_t nearEdge, int32_t farEdge, int32_t nearLimit, int32_t farLimit,
                 const DescribeQuantity& what) {
    int64_t position = nearEdge;
    if (farEdge > farLimit) {
        position = int64_t{farLimit} - (int64_t{farEdge} - nearEdge);
    }
    return position < nearLimit ? nearLimit : Narrow32(position, what);
}

// Where maximising puts one axis: overhanging the work area by as much on either side.
int32_t Maximised(int32_t nearEdge, int32_t farEdge, int32_t nearLimit, int32_t farLimit,
                  const DescribeQuantity& what) {
    const int64_t overhang = ((int64_t{farEdge} - nearEdge) - (int64_t{farLimit} - nearLimit)) / 2;
    return Narrow32(nearLimit - overhang, what);
}

// Full screen: the monitor's bounds, or larger by as much on every side (a maximised border).
bool CoversMonitor(const Rect& rect, const Rect& monitor) {
    const int64_t border = int64_t{monitor.left} - rect.left;
    return border >= 0 && int64_t{monitor.top} - rect.top == border &&
           int64_t{rect.right} - monitor.right == border &&
           int64_t{rect.bottom} - monitor.bottom == border;
}

// Gathers against the work area of the monitor nearest to the window, by what the user sees
// of it (`frame`): the window moves by as much as its frame has to. A full-screen window is
// where its user wants it.
Position GatheredPosition(Desktop& desktop, const Rect& rect, const Rect& frame, bool maximised,
                          const std::wstring& title) {
    const MonitorArea monitor = desktop.MonitorNearest(frame);
    if (!maximised && CoversMonitor(rect, monitor.Bounds)) {
        return {rect.left, rect.top};
    }
    const Rect& work = monitor.WorkArea;
    const DescribeQuantity vertical = Describe(L"The gathered vertical position", title);
    const DescribeQuantity horizontal = Describe(L"The gathered horizontal position", title);
    const auto place = maximised ? Maximised : Gathered;
    const int32_t frameY = place(frame.top, frame.bottom, work.top, work.bottom, vertical);
    const int32_t frameX = place(frame.left, frame.right, work.left, work.right, horizontal);
    return {MovedEdge(frameX, frame.left, rect.left, horizontal),
            MovedEdge(frameY, frame.top, rect.top, vertical)};
}

// Where the run puts a window that is at `rect`: shifted by the steps, or gathered.
Position NewPosition(Desktop& desktop, const RunSettings& settings, const Rect& rect,
                     const Rect& frame, bool maximised, const std::wstring& title) {
    Position moved{rect.left, rect.top};
    if (settings.MoveVertical) {
        moved.y = Shifted(rect.top, settings, settings.VerticalStep,
                          Describe(L"The new vertical position", title));
    }
    if (settings.MoveHorizontal) {
        moved.x = Shifted(rect.left, settings, settings.HorizontalStep,
                          Describe(L"The new horizontal position", title));
    }
    if (settings.GatherWindows) {
        moved = GatheredPosition(desktop, rect, frame, maximised, title);
    }
    return moved;
}

// Which windows a run moves: every rule, with its reason, in one place.
bool TakesPart(Desktop& desktop, const RunSettings& settings, bool ownOrDesktop,
               const WindowFacts& facts) {
    const WindowState& state = facts.State;
    // This run's own window, and the shell's desktop window that holds the desktop icons.
    if (ownOrDesktop) {
        return false;
    }
    // Nothing the user sees or can find: hidden, on another virtual desktop, untitled helpers.
    if (!facts.Visible || facts.Cloaked || facts.Title.empty()) {
        return false;
    }
    // Click-through: overlays, screen dimmers and mouse highlighters, never placed by a user.
    if (state.Layered && state.Transparent) {
        return false;
    }
    // No title bar to drag, and never activated or a tool window: in-game overlays, widgets,
    // docks and bars, whose programs keep (and reserve) their own place.
    if (!state.Caption && (state.NoActivate || state.ToolWindow)) {
        return false;
    }
    // The user's own lists.
    return !settings.ListLoaded || !IsSkippedByList(desktop, settings, facts.Title);
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
    const WindowFacts facts = desktop.ReadWindow(window, settings.GatherWindows);
    if (!TakesPart(desktop, settings, window == self || window == shell, facts)) {
        return true;
    }
    const Rect& rect = facts.Bounds;
    const bool maximised = facts.State.Maximised;
    Position moved{rect.left, rect.top};
    if (!facts.State.Minimised) {
        moved = NewPosition(desktop, settings, rect, facts.Frame.value_or(rect), maximised,
                            facts.Title);
    } else if (facts.Restore) {
        // A minimised window stays parked; it is its restore place that the user sees again.
        const Rect& restore = *facts.Restore;
        const Position at = NewPosition(desktop, settings, restore, restore, false, facts.Title);
        desktop.SetRestorePlace(window,
                                {at.x, at.y,
                                 MovedEdge(at.x, restore.left, restore.right,
                                           Describe(L"The restored right edge", facts.Title)),
                                 MovedEdge(at.y, restore.top, restore.bottom,
                                           Describe(L"The restored bottom edge", facts.Title))});
    }
    // Going to the bottom would take a topmost window out of the topmost band.
    const unsigned flags = kKeepSize | kNoActivate | (facts.State.Topmost ? kKeepZOrder : 0);
    if (!desktop.SetWindowPos(window, kInsertAtBottom, moved.x, moved.y, 0, 0, flags) ||
        facts.State.Minimised) {
        return true;
    }
    // On a monitor of another DPI the window has a new size, and maybe a new corner: it is
    // placed once more by the same rule, with that size, and never again.
    const WindowFacts now = desktop.ReadWindow(window, settings.GatherWindows);
    const Position again = settings.GatherWindows
                               ? NewPosition(desktop, settings, now.Bounds,
                                             now.Frame.value_or(now.Bounds), maximised, facts.Title)
                               : moved;
    if (again != Position{now.Bounds.left, now.Bounds.top}) {
        desktop.SetWindowPos(window, kInsertAtBottom, again.x, again.y, 0, 0, flags);
    }
    return true;
}
