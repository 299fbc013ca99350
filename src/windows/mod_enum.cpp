#include "windows/mod_enum.h"

#include <algorithm>
#include <span>
#include <vector>

#include "common/checked_math.h"
#include "common/run_error.h"
#include "windows/window_list.h"

namespace {

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

// Whether every point of `rect` lies on one of `areas`: on one, or across several.
bool Covered(const Rect& rect, std::span<const Rect> areas) {
    if (rect.left >= rect.right || rect.top >= rect.bottom) {
        return true;
    }
    if (areas.empty()) {
        return false;
    }
    // The first area's part of `rect`, maybe empty; what lies above, below and beside it is left
    // to the others.
    const Rect& area = areas.front();
    const int32_t top = std::clamp(area.top, rect.top, rect.bottom);
    const int32_t bottom = std::clamp(area.bottom, top, rect.bottom);
    const int32_t left = std::clamp(area.left, rect.left, rect.right);
    const int32_t right = std::clamp(area.right, left, rect.right);
    const auto others = areas.subspan(1);
    return Covered({rect.left, rect.top, rect.right, top}, others) &&
           Covered({rect.left, bottom, rect.right, rect.bottom}, others) &&
           Covered({rect.left, top, left, bottom}, others) &&
           Covered({right, top, rect.right, bottom}, others);
}

// `frame` with its corner at (x, y), for `Covered` only: edges beyond the 32-bit range lie
// on no monitor anyway.
Rect FrameAt(const Rect& frame, int32_t x, int32_t y) {
    const auto edge = [](int32_t at, int32_t from, int32_t to) {
        return static_cast<int32_t>(
            std::clamp<int64_t>(int64_t{at} + (int64_t{to} - from), INT32_MIN, INT32_MAX));
    };
    return {x, y, edge(x, frame.left, frame.right), edge(y, frame.top, frame.bottom)};
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

// Where maximising puts the window on this work area: the work area grown by the window's own
// borders (its rectangle less its frame), so that one maximised for a monitor of another size
// gets this one's.
WindowMove Maximised(const Rect& rect, const Rect& frame, const Rect& work,
                     const std::wstring& title) {
    const DescribeQuantity horizontal = Describe(L"The maximised horizontal position", title);
    const DescribeQuantity vertical = Describe(L"The maximised vertical position", title);
    const int64_t left = int64_t{work.left} - (int64_t{frame.left} - rect.left);
    const int64_t top = int64_t{work.top} - (int64_t{frame.top} - rect.top);
    const int64_t width = int64_t{work.right} + (int64_t{rect.right} - frame.right) - left;
    const int64_t height = int64_t{work.bottom} + (int64_t{rect.bottom} - frame.bottom) - top;
    return {Narrow32(left, horizontal), Narrow32(top, vertical),
            Narrow32(width, Describe(L"The maximised width", title)),
            Narrow32(height, Describe(L"The maximised height", title)), true};
}

// Full screen: the monitor's bounds, or larger by as much on every side (a maximised border).
bool CoversMonitor(const Rect& rect, const Rect& monitor) {
    const int64_t border = int64_t{monitor.left} - rect.left;
    return border >= 0 && int64_t{monitor.top} - rect.top == border &&
           int64_t{rect.right} - monitor.right == border &&
           int64_t{rect.bottom} - monitor.bottom == border;
}

// Gathers by what the user sees of the window (`frame`): the window moves by as much as its
// frame has to. One the user can see whole stays, and so does a full-screen one, where its user
// wants it. The others go onto the work area of the monitor nearest to them; where moving along
// one axis is enough to make one whole, the other keeps its place (a window across two
// monitors that hangs off the bottom only comes up).
WindowMove GatheredPlace(Desktop& desktop, const Rect& rect, const Rect& frame, bool maximised,
                         const std::vector<Rect>& workAreas, const std::wstring& title) {
    if (Covered(frame, workAreas)) {
        return {rect.left, rect.top};
    }
    const MonitorArea monitor = desktop.MonitorNearest(frame);
    if (maximised) {
        return Maximised(rect, frame, monitor.WorkArea, title);
    }
    if (CoversMonitor(rect, monitor.Bounds)) {
        return {rect.left, rect.top};
    }
    const Rect& work = monitor.WorkArea;
    const DescribeQuantity vertical = Describe(L"The gathered vertical position", title);
    const DescribeQuantity horizontal = Describe(L"The gathered horizontal position", title);
    int32_t frameY = Gathered(frame.top, frame.bottom, work.top, work.bottom, vertical);
    int32_t frameX = Gathered(frame.left, frame.right, work.left, work.right, horizontal);
    if (Covered(FrameAt(frame, frame.left, frameY), workAreas)) {
        frameX = frame.left;
    } else if (Covered(FrameAt(frame, frameX, frame.top), workAreas)) {
        frameY = frame.top;
    }
    return {MovedEdge(frameX, frame.left, rect.left, horizontal),
            MovedEdge(frameY, frame.top, rect.top, vertical)};
}

// Where the run puts a window that is at `rect`: shifted by the steps, or gathered.
WindowMove NewPlace(Desktop& desktop, const RunSettings& settings, const Rect& rect,
                    const Rect& frame, bool maximised, const std::vector<Rect>& workAreas,
                    const std::wstring& title) {
    if (settings.GatherWindows) {
        return GatheredPlace(desktop, rect, frame, maximised, workAreas, title);
    }
    WindowMove moved{rect.left, rect.top};
    if (settings.MoveVertical) {
        moved.Y = Shifted(rect.top, settings, settings.VerticalStep,
                          Describe(L"The new vertical position", title));
    }
    if (settings.MoveHorizontal) {
        moved.X = Shifted(rect.left, settings, settings.HorizontalStep,
                          Describe(L"The new horizontal position", title));
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

// Handles one window of the pass.
void MoveOneWindow(Desktop& desktop, const RunSettings& settings, bool ownOrDesktop,
                   const std::vector<Rect>& workAreas, WindowHandle window) {
    const WindowFacts facts = desktop.ReadWindow(window, settings.GatherWindows);
    if (!TakesPart(desktop, settings, ownOrDesktop, facts)) {
        return;
    }
    const Rect& rect = facts.Bounds;
    const bool maximised = facts.State.Maximised;
    WindowMove moved{rect.left, rect.top};
    if (!facts.State.Minimised) {
        moved = NewPlace(desktop, settings, rect, facts.Frame.value_or(rect), maximised, workAreas,
                         facts.Title);
    } else if (facts.Restore) {
        // A minimised window stays parked; it is its restore place that the user sees again.
        const Rect& restore = *facts.Restore;
        const WindowMove at =
            NewPlace(desktop, settings, restore, restore, false, workAreas, facts.Title);
        desktop.SetRestorePlace(window,
                                {at.X, at.Y,
                                 MovedEdge(at.X, restore.left, restore.right,
                                           Describe(L"The restored right edge", facts.Title)),
                                 MovedEdge(at.Y, restore.top, restore.bottom,
                                           Describe(L"The restored bottom edge", facts.Title))});
    }
    // Going to the bottom would take a topmost window out of the topmost band.
    moved.KeepStacking = facts.State.Topmost;
    if (desktop.MoveWindow(window, moved) != MoveOutcome::OntoAnotherDpi || facts.State.Minimised) {
        return;
    }
    // On a monitor of another DPI the window has a new size, and maybe a new corner: it is
    // placed once more by the same rule, with that size, and never again.
    const WindowFacts now = desktop.ReadWindow(window, settings.GatherWindows);
    const Rect& at = now.Bounds;
    WindowMove again = settings.GatherWindows
                           ? NewPlace(desktop, settings, at, now.Frame.value_or(at), maximised,
                                      workAreas, facts.Title)
                           : moved;
    if (again.Resize || again.X != at.left || again.Y != at.top) {
        again.KeepStacking = moved.KeepStacking;
        desktop.MoveWindow(window, again);
    }
}

}  // namespace

void MoveAllWindows(Desktop& desktop, const RunSettings& settings, WindowHandle self) {
    const WindowHandle shell = desktop.ShellWindow();
    // Asked once per run, and only where gathering needs them.
    const std::vector<Rect> workAreas =
        settings.GatherWindows ? desktop.WorkAreas() : std::vector<Rect>{};
    desktop.EnumWindows([&](WindowHandle window) {
        MoveOneWindow(desktop, settings, window == self || window == shell, workAreas, window);
        return true;
    });
}
