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

// Where `edge` goes when `from` moves to `at`, kept within the 32-bit range: for finding what
// lies where only, since edges beyond it lie on no monitor anyway.
int32_t ClampedEdge(int32_t at, int32_t from, int32_t edge) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{at} + (int64_t{edge} - from), INT32_MIN, INT32_MAX));
}

// `frame` with its corner at (x, y), for `Covered` only.
Rect FrameAt(const Rect& frame, int32_t x, int32_t y) {
    return {x, y, ClampedEdge(x, frame.left, frame.right), ClampedEdge(y, frame.top, frame.bottom)};
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
    return {.X = Narrow32(left, horizontal),
            .Y = Narrow32(top, vertical),
            .Width = Narrow32(width, Describe(L"The maximised width", title)),
            .Height = Narrow32(height, Describe(L"The maximised height", title)),
            .Resize = true};
}

// `area` itself, or grown by as much on every side: a full-screen window on a monitor's bounds,
// a maximised one where maximising put it on a work area (with its own invisible border).
bool GrownEvenly(const Rect& rect, const Rect& area) {
    const int64_t border = int64_t{area.left} - rect.left;
    return border >= 0 && int64_t{area.top} - rect.top == border &&
           int64_t{rect.right} - area.right == border &&
           int64_t{rect.bottom} - area.bottom == border;
}

// The window stays where it is; it only goes to the bottom of the stacking order.
WindowMove Kept(const Rect& rect) { return {.X = rect.left, .Y = rect.top, .KeepPlace = true}; }

// Where `move` puts `rect`, for finding its monitor only: edges beyond the 32-bit range lie on
// no monitor anyway.
Rect PlacedAt(const Rect& rect, const WindowMove& move) {
    if (!move.Resize) {
        return FrameAt(rect, move.X, move.Y);
    }
    const auto end = [](int32_t from, int32_t size) {
        return static_cast<int32_t>(std::min<int64_t>(int64_t{from} + size, INT32_MAX));
    };
    return {move.X, move.Y, end(move.X, move.Width), end(move.Y, move.Height)};
}

// The restore place with its rectangle's corner where `move` puts it, its frame along.
RestorePlace MovedRestore(RestorePlace restore, const WindowMove& move, const std::wstring& title) {
    const Rect from = restore.Bounds;
    restore.Bounds = {
        move.X, move.Y,
        MovedEdge(move.X, from.left, from.right, Describe(L"The restored right edge", title)),
        MovedEdge(move.Y, from.top, from.bottom, Describe(L"The restored bottom edge", title))};
    restore.Frame = FrameAt(restore.Frame, ClampedEdge(move.X, from.left, restore.Frame.left),
                            ClampedEdge(move.Y, from.top, restore.Frame.top));
    return restore;
}

// Why a window stays, or that it moves: every rule of the pass that decides, by name. First the
// rules that leave a window out of the run, then those by which one that takes part stays.
enum class Verdict {
    Moves,
    OwnWindow,
    TheDesktop,
    Hidden,
    Cloaked,
    Untitled,
    ClickThrough,
    Frameless,
    Excluded,
    NotIncluded,
    FullScreen,
    MaximisedInPlace,
    SeenWhole,
    AlreadyThere,
    NotAnswering,
    MoreRights,
};

bool LeftOut(Verdict verdict) {
    return verdict >= Verdict::OwnWindow && verdict <= Verdict::NotIncluded;
}

// What one pass knows beyond the run's settings: the monitors, asked for once, and only where
// a decision needs them; and what it finds for the user.
struct Pass {
    Desktop& desktop;
    const RunSettings& settings;
    WindowHandle self;
    WindowHandle shell;
    RunReport& report;
    int hidden = 0;  // counted by a dry run, not listed
    std::optional<std::vector<MonitorArea>> monitors = {};
    std::vector<Rect> workAreas = {};
};

const std::vector<MonitorArea>& Monitors(Pass& pass) {
    if (!pass.monitors) {
        pass.monitors = pass.desktop.Monitors();
        for (const MonitorArea& monitor : *pass.monitors) {
            pass.workAreas.push_back(monitor.WorkArea);
        }
    }
    return *pass.monitors;
}

WindowMove GatheredPlace(Pass& pass, WindowHandle window, const Rect& rect, const Rect& frame,
                         bool maximised, const std::wstring& title, Verdict& why);

// A maximised window away from where maximising puts it (on a monitor that was unplugged, or
// shifted by v or h) is maximised again on the monitor that its restore place is gathered onto,
// so that restoring it brings it back on the screen too. Windows maximises a window only by
// activating it, so it is sized by hand, as maximising gives it that work area.
WindowMove Remaximised(Pass& pass, WindowHandle window, const Rect& rect, const Rect& frame,
                       const std::wstring& title) {
    std::optional<RestorePlace> restore = pass.desktop.ReadRestorePlace(window);
    Rect onto = frame;
    if (restore) {
        Verdict kept = Verdict::Moves;
        const WindowMove back =
            GatheredPlace(pass, window, restore->Bounds, restore->Frame, false, title, kept);
        onto = PlacedAt(restore->Frame, back);
        if (back.KeepPlace) {
            restore.reset();
        } else {
            restore = MovedRestore(*restore, back, title);
        }
    }
    WindowMove moved = Maximised(rect, frame, pass.desktop.MonitorNearest(onto).WorkArea, title);
    moved.Restore = restore;
    return moved;
}

// Gathers by what the user sees of the window (`frame`): the window moves by as much as its
// frame has to. A full-screen one stays, where its user wants it, and so does a maximised one
// where maximising put it, and one the user can see whole. The others go onto the work area of
// the monitor nearest to them; where moving along one axis is enough to make one whole, the
// other keeps its place (a window across two monitors that hangs off the bottom only comes up).
WindowMove GatheredPlace(Pass& pass, WindowHandle window, const Rect& rect, const Rect& frame,
                         bool maximised, const std::wstring& title, Verdict& why) {
    const std::vector<MonitorArea>& monitors = Monitors(pass);
    const auto grownFrom = [&](Rect MonitorArea::*area) {
        return std::any_of(monitors.begin(), monitors.end(),
                           [&](const MonitorArea& m) { return GrownEvenly(rect, m.*area); });
    };
    if (grownFrom(&MonitorArea::Bounds)) {
        why = Verdict::FullScreen;
        return Kept(rect);
    }
    if (maximised) {
        if (!grownFrom(&MonitorArea::WorkArea)) {
            return Remaximised(pass, window, rect, frame, title);
        }
        why = Verdict::MaximisedInPlace;
        return Kept(rect);
    }
    if (Covered(frame, pass.workAreas)) {
        why = Verdict::SeenWhole;
        return Kept(rect);
    }
    const Rect& work = pass.desktop.MonitorNearest(frame).WorkArea;
    const DescribeQuantity vertical = Describe(L"The gathered vertical position", title);
    const DescribeQuantity horizontal = Describe(L"The gathered horizontal position", title);
    int32_t frameY = Gathered(frame.top, frame.bottom, work.top, work.bottom, vertical);
    int32_t frameX = Gathered(frame.left, frame.right, work.left, work.right, horizontal);
    if (Covered(FrameAt(frame, frame.left, frameY), pass.workAreas)) {
        frameX = frame.left;
    } else if (Covered(FrameAt(frame, frameX, frame.top), pass.workAreas)) {
        frameY = frame.top;
    }
    return {MovedEdge(frameX, frame.left, rect.left, horizontal),
            MovedEdge(frameY, frame.top, rect.top, vertical)};
}

// Where the run puts a window that is at `rect`: shifted by the steps, or gathered; and why it
// stays, where it does.
WindowMove NewPlace(Pass& pass, WindowHandle window, const Rect& rect, const Rect& frame,
                    bool maximised, const std::wstring& title, Verdict& why) {
    const RunSettings& settings = pass.settings;
    if (settings.GatherWindows) {
        return GatheredPlace(pass, window, rect, frame, maximised, title, why);
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
    moved.KeepPlace = moved.X == rect.left && moved.Y == rect.top;
    why = moved.KeepPlace ? Verdict::AlreadyThere : why;
    return moved;
}

// Whether Windows rescales the window for the monitor that the move takes it onto: it follows
// the monitors' DPIs with a DPI of its own, or Windows scales it for the monitor it is on.
bool OntoAnotherDpi(Pass& pass, WindowHandle window, const Rect& from, const WindowMove& move) {
    const std::vector<MonitorArea>& monitors = Monitors(pass);
    // One DPI for all (or none the system can tell): Windows scales a window that does not
    // follow the monitors for any of them alike, so only one that does, with a DPI of its own
    // that is another, is rescaled; and one on a monitor has its DPI (Windows gives it the DPI of
    // the monitor it comes onto), so only one on none may still have that of a monitor that is
    // gone. Finding a window's monitor is slow under Wine, and then not needed.
    const unsigned shared = monitors.front().Dpi;
    if (std::all_of(monitors.begin(), monitors.end(),
                    [&](const MonitorArea& m) { return m.Dpi == shared; })) {
        const bool onAMonitor = std::any_of(monitors.begin(), monitors.end(), [&](auto& m) {
            return std::max(from.left, m.Bounds.left) < std::min(from.right, m.Bounds.right) &&
                   std::max(from.top, m.Bounds.top) < std::min(from.bottom, m.Bounds.bottom);
        });
        return !onAMonitor && pass.desktop.ReadDpi(window, false).Dpi != shared &&
               pass.desktop.ReadDpi(window, true).PerMonitorAware;
    }
    const WindowDpi dpi = pass.desktop.ReadDpi(window, true);
    const unsigned after = pass.desktop.MonitorNearest(PlacedAt(from, move)).Dpi;
    return (dpi.PerMonitorAware ? dpi.Dpi : pass.desktop.MonitorNearest(from).Dpi) != after;
}

// Which windows a run moves: every rule, with its reason, in one place. A dry run gets the
// list entry that decided.
Verdict TakesPart(Pass& pass, WindowHandle window, const WindowFacts& facts, std::wstring& entry) {
    const WindowState& state = facts.State;
    // This run's own window, and the shell's desktop window that holds the desktop icons.
    if (window == pass.self || window == pass.shell) {
        return window == pass.self ? Verdict::OwnWindow : Verdict::TheDesktop;
    }
    // Nothing the user sees or can find: hidden, on another virtual desktop, untitled helpers.
    if (!facts.Visible || facts.Cloaked || facts.Title.empty()) {
        return !facts.Visible ? Verdict::Hidden
                              : (facts.Cloaked ? Verdict::Cloaked : Verdict::Untitled);
    }
    // Click-through: overlays, screen dimmers and mouse highlighters, never placed by a user.
    if (state.Layered && state.Transparent) {
        return Verdict::ClickThrough;
    }
    // No title bar to drag, and never activated or a tool window: in-game overlays, widgets,
    // docks and bars, whose programs keep (and reserve) their own place.
    if (!state.Caption && (state.NoActivate || state.ToolWindow)) {
        return Verdict::Frameless;
    }
    // The user's own lists.
    const RunSettings& settings = pass.settings;
    if (settings.ListLoaded &&
        IsSkippedByList(pass.desktop, settings, facts.Title, settings.DryRun ? &entry : nullptr)) {
        return settings.ExcludeMode ? Verdict::Excluded : Verdict::NotIncluded;
    }
    return Verdict::Moves;
}

// A minimised window stays parked; it is its restore place that the user sees again, and that
// moves as the window would.
WindowMove MinimisedPlace(Pass& pass, WindowHandle window,
                          const std::optional<RestorePlace>& restore, const std::wstring& title,
                          Verdict& why) {
    WindowMove moved;
    moved.KeepPlace = true;
    why = Verdict::AlreadyThere;
    if (restore) {
        Verdict kept = Verdict::Moves;
        const WindowMove at =
            NewPlace(pass, window, restore->Bounds, restore->Frame, false, title, kept);
        if (!at.KeepPlace) {
            moved.Restore = MovedRestore(*restore, at, title);
            why = Verdict::Moves;
        }
    }
    return moved;
}

std::wstring Placed(const Rect& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
           std::to_wstring(int64_t{r.right} - r.left) + L"x" +
           std::to_wstring(int64_t{r.bottom} - r.top);
}

// Why a window stays, in the user's words.
std::wstring Reason(Verdict verdict, const RunSettings& settings, const std::wstring& entry) {
    if (verdict == Verdict::Excluded || verdict == Verdict::NotIncluded) {
        return verdict == Verdict::Excluded
                   ? L"excluded by the line `" + entry + L"` of " + settings.ListPath
                   : L"not named in " + settings.ListPath;
    }
    // In the order of Verdict.
    static constexpr const wchar_t* kReasons[] = {
        L"",
        L"Deskglide's own window",
        L"the desktop itself",
        L"not visible",
        L"hidden by Windows (on another virtual desktop)",
        L"no title",
        L"clicks go through it (an overlay)",
        L"a bar, dock or widget without a title bar",
        L"",
        L"",
        L"full screen",
        L"maximised where maximising puts it",
        L"seen whole on the screen",
        L"already there",
        L"not answering: its move is left to its program",
        L"runs as administrator",
    };
    return kReasons[static_cast<size_t>(verdict)];
}

// What the pass decides for one window, and what it read to decide it.
struct Decision {
    WindowFacts facts;
    Verdict verdict = Verdict::Moves;
    std::wstring entry = {};  // the list line that decided, in a dry run
    std::optional<Rect> at = {};
    std::optional<RestorePlace> restore = {};  // a minimised window's
    WindowMove move = {};
    bool rescaled = false;  // the move takes it onto a monitor of another DPI
};

// What the pass decides for the window: a run and a dry run decide alike.
Decision Decide(Pass& pass, WindowHandle window) {
    Decision d{pass.desktop.ReadWindow(window)};
    d.verdict = TakesPart(pass, window, d.facts, d.entry);
    if (LeftOut(d.verdict)) {
        return d;
    }
    const WindowFacts& facts = d.facts;
    if (facts.State.Minimised) {
        d.restore = pass.desktop.ReadRestorePlace(window);
        d.move = MinimisedPlace(pass, window, d.restore, facts.Title, d.verdict);
    } else {
        const WindowPlace place = pass.desktop.ReadPlace(window, pass.settings.GatherWindows);
        d.at = place.Bounds;
        d.move = NewPlace(pass, window, place.Bounds, place.Frame.value_or(place.Bounds),
                          facts.State.Maximised, facts.Title, d.verdict);
        d.rescaled = !d.move.KeepPlace && OntoAnotherDpi(pass, window, place.Bounds, d.move);
    }
    // Going to the bottom would take a topmost window out of the topmost band.
    d.move.KeepStacking = facts.State.Topmost;
    return d;
}

// Moves the window as decided.
void Apply(Pass& pass, WindowHandle window, const Decision& d) {
    Desktop& desktop = pass.desktop;
    const MoveOutcome outcome = desktop.MoveWindow(window, d.move);
    // Refused only going to the bottom, a window is where the run wanted it all the same.
    pass.report.Refused += outcome == MoveOutcome::Refused && d.verdict == Verdict::Moves ? 1 : 0;
    if (outcome != MoveOutcome::Done || !d.rescaled) {
        return;
    }
    // On a monitor of another DPI the window has a new size, and maybe a new corner: it is
    // placed once more by the same rule, with that size, and never again.
    const bool gather = pass.settings.GatherWindows;
    const WindowPlace now = desktop.ReadPlace(window, gather);
    Verdict kept = Verdict::Moves;
    WindowMove again = gather ? NewPlace(pass, window, now.Bounds, now.Frame.value_or(now.Bounds),
                                         d.facts.State.Maximised, d.facts.Title, kept)
                              : d.move;
    if (again.Resize || again.X != now.Bounds.left || again.Y != now.Bounds.top) {
        again.KeepStacking = d.move.KeepStacking;
        desktop.MoveWindow(window, again);
    }
}

// A dry run's line for the window: what the pass decided, and where it is.
void Plan(Pass& pass, WindowHandle window, Decision d) {
    if (d.verdict == Verdict::Hidden) {
        ++pass.hidden;
        return;
    }
    Desktop& desktop = pass.desktop;
    const WindowProgram program = desktop.ReadProgram(window);
    if (d.verdict == Verdict::Moves && (program.MoreRights || !program.Answers)) {
        d.verdict = program.MoreRights ? Verdict::MoreRights : Verdict::NotAnswering;
    }
    // What the pass did not need to read of a window it leaves out, or of a minimised one.
    const Rect at = d.at ? *d.at : desktop.ReadPlace(window, false).Bounds;
    if (d.facts.State.Minimised && !d.restore) {
        d.restore = desktop.ReadRestorePlace(window);
    }
    std::wstring where = d.facts.State.Maximised ? L"maximised, " + Placed(at) : Placed(at);
    if (d.restore) {
        where = L"minimised, comes back at " + Placed(d.restore->Bounds);
    }
    const WindowMove& move = d.move;
    std::wstring to = Reason(d.verdict, pass.settings, d.entry);
    if (d.verdict == Verdict::Moves) {
        to = move.Restore ? L"comes back at " + Placed(move.Restore->Bounds) : L"";
        if (!move.KeepPlace) {
            to = (to.empty() ? L"to " : to + L"; to ") +
                 (move.Resize ? Placed(PlacedAt(at, move))
                              : std::to_wstring(move.X) + L"," + std::to_wstring(move.Y));
        }
        to += d.rescaled ? L", then once more for the DPI there" : L"";
    }
    pass.report.Plan.push_back({d.facts.Title, program.Name, where,
                                d.verdict == Verdict::Moves ? L"moves" : L"stays", to});
}

}  // namespace

void MoveAllWindows(Desktop& desktop, const RunSettings& settings, WindowHandle self,
                    RunReport& report) {
    Pass pass{desktop, settings, self, desktop.ShellWindow(), report};
    desktop.EnumWindows([&](WindowHandle window) {
        const Decision decision = Decide(pass, window);
        if (settings.DryRun) {
            Plan(pass, window, decision);
        } else if (!LeftOut(decision.verdict)) {
            Apply(pass, window, decision);
        }
        return true;
    });
    if (settings.DryRun) {
        report.Plan.push_back({L"(hidden windows: " + std::to_wstring(pass.hidden) + L")", L"", L"",
                               L"stays", L"not visible"});
    }
}
