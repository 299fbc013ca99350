// Windows and monitors: the window pass's reads and moves.
#include <windows.h>
// After windows.h, which it needs; only its types and constants are used.
#include <dwmapi.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "platform/win32_desktop.h"
#include "platform/win32_dpi.h"
#include "platform/win32_handles.h"

namespace {

Rect ToRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

RECT ToRECT(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);

// False where the window manager does not answer, as under Wine (E_NOTIMPL) or without DWM.
bool GetDwmAttribute(HWND window, DWORD attribute, void* value, DWORD size) {
    static const auto getAttribute =
        SystemFunction<DwmGetWindowAttributeFn>(L"dwmapi.dll", "DwmGetWindowAttribute");
    return getAttribute != nullptr && SUCCEEDED(getAttribute(window, attribute, value, size));
}

// `rect` moved by (dx, dy), kept within the 32-bit range.
RECT Offset(const RECT& rect, LONG dx, LONG dy) {
    const auto move = [](LONG value, LONG by) {
        return static_cast<LONG>(std::clamp<int64_t>(int64_t{value} + by, INT32_MIN, INT32_MAX));
    };
    return {move(rect.left, dx), move(rect.top, dy), move(rect.right, dx), move(rect.bottom, dy)};
}

// Placements of top-level windows other than tool windows are in workspace coordinates: the
// corner of the work area of the monitor that the rectangle lies on is (0, 0). `toScreen` turns
// them into screen coordinates, else screen ones into them.
RECT Workspace(const RECT& rect, DWORD exStyle, bool toScreen) {
    if ((exStyle & WS_EX_TOOLWINDOW) != 0) {
        return rect;
    }
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info);
    const LONG dx = info.rcWork.left - info.rcMonitor.left;
    const LONG dy = info.rcWork.top - info.rcMonitor.top;
    return toScreen ? Offset(rect, dx, dy) : Offset(rect, -dx, -dy);
}

// The invisible borders that a window of this style has when shown normally: Windows 10 and 11
// keep all but one pixel of a sizing border transparent, at the left, right and bottom (at the
// top too without a caption), and count them in its rectangle. None where the window manager
// reports no frame inside the rectangle, as under Wine and on older Windows.
RECT InvisibleBorders(HWND window, DWORD style) {
    RECT rect = {};
    RECT frame = {};
    ::GetWindowRect(window, &rect);
    if ((style & WS_THICKFRAME) == 0 ||
        !GetDwmAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame) ||
        EqualRect(&rect, &frame) != 0) {
        return {};
    }
    const UINT dpi = ShownDpi(window);
    const int border = SystemMetricForDpi(SM_CXSIZEFRAME, dpi) +
                       SystemMetricForDpi(SM_CXPADDEDBORDER, dpi) -
                       SystemMetricForDpi(SM_CXBORDER, dpi);
    return {border, (style & WS_CAPTION) == WS_CAPTION ? 0 : border, border, border};
}

MonitorArea ToMonitorArea(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return {ToRect(info.rcMonitor), ToRect(info.rcWork), MonitorDpi(monitor)};
}

// How long a window may take to answer before its move is left to its own thread.
constexpr UINT kAnswerTimeoutMs = 200;

// Every monitor, in the system's order.
std::vector<HMONITOR> DisplayMonitors() {
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, RECT*, LPARAM found) {
            reinterpret_cast<std::vector<HMONITOR>*>(found)->push_back(monitor);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

struct EnumState {
    const std::function<bool(WindowHandle)>* callback;
    std::exception_ptr error;
};

// An exception must not unwind through user32's frames: it is parked and rethrown afterwards.
BOOL CALLBACK EnumTrampoline(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<EnumState*>(param);
    try {
        return (*state->callback)(FromHwnd(window)) ? TRUE : FALSE;
    } catch (...) {
        state->error = std::current_exception();
        return FALSE;
    }
}

}  // namespace

Rect Win32Desktop::GetWorkArea() {
    RECT area = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return ToRect(area);
}

void Win32Desktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    EnumState state{&callback, nullptr};
    ::EnumWindows(EnumTrampoline, reinterpret_cast<LPARAM>(&state));
    if (state.error) {
        std::rethrow_exception(state.error);
    }
}

WindowFacts Win32Desktop::ReadWindow(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    WindowFacts facts;
    // A top-level window's own WS_VISIBLE is what IsWindowVisible answers for it.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    facts.Visible = (style & WS_VISIBLE) != 0;
    if (!facts.Visible) {
        return facts;
    }
    DWORD cloaked = 0;
    facts.Cloaked = GetDwmAttribute(hwnd, DWMWA_CLOAKED, &cloaked, sizeof cloaked) && cloaked != 0;
    if (facts.Cloaked) {
        return facts;
    }
    wchar_t title[256] = {};
    facts.Title.assign(title, static_cast<size_t>(std::max(0, GetWindowTextW(hwnd, title, 256))));
    if (facts.Title.empty()) {
        return facts;
    }
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    facts.State = {(style & WS_MAXIMIZE) != 0,        (style & WS_MINIMIZE) != 0,
                   (exStyle & WS_EX_TOPMOST) != 0,    (style & WS_CAPTION) == WS_CAPTION,
                   (exStyle & WS_EX_NOACTIVATE) != 0, (exStyle & WS_EX_TOOLWINDOW) != 0,
                   (exStyle & WS_EX_LAYERED) != 0,    (exStyle & WS_EX_TRANSPARENT) != 0};
    read_ = {hwnd, style, exStyle, std::nullopt};
    return facts;
}

WindowPlace Win32Desktop::ReadPlace(WindowHandle window, bool withFrame) {
    const HWND hwnd = ToHwnd(window);
    RECT rect = {};
    ::GetWindowRect(hwnd, &rect);
    WindowPlace place{ToRect(rect), std::nullopt};
    RECT frame = {};
    WINDOWINFO info = {};
    info.cbSize = sizeof info;
    if (withFrame && GetDwmAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) {
        place.Frame = ToRect(frame);
    } else if (withFrame && read_.window == hwnd && (read_.style & WS_MAXIMIZE) != 0 &&
               GetWindowInfo(hwnd, &info) != 0) {
        // Maximising puts the borders beyond the work area, where they are not seen.
        const auto x = static_cast<LONG>(info.cxWindowBorders);
        const auto y = static_cast<LONG>(info.cyWindowBorders);
        place.Frame = Rect{rect.left + x, rect.top + y, rect.right - x, rect.bottom - y};
    }
    return place;
}

std::optional<RestorePlace> Win32Desktop::ReadRestorePlace(WindowHandle window) {
    const HWND hwnd = ToHwnd(window);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (read_.window != hwnd || GetWindowPlacement(hwnd, &placement) == 0) {
        return std::nullopt;
    }
    // Kept for setting the place again: one read a window.
    read_.placement = placement;
    const RECT bounds = Workspace(placement.rcNormalPosition, read_.exStyle, true);
    const RECT borders = InvisibleBorders(hwnd, read_.style);
    return RestorePlace{ToRect(bounds),
                        {bounds.left + borders.left, bounds.top + borders.top,
                         bounds.right - borders.right, bounds.bottom - borders.bottom},
                        (placement.flags & WPF_RESTORETOMAXIMIZED) != 0};
}

WindowDpi Win32Desktop::ReadDpi(WindowHandle window, bool withAwareness) {
    const HWND hwnd = ToHwnd(window);
    return {withAwareness && PerMonitorAware(hwnd), KnownWindowDpi(hwnd)};
}

MonitorArea Win32Desktop::MonitorNearest(const Rect& rect) {
    const RECT bounds = ToRECT(rect);
    return ToMonitorArea(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST));
}

std::vector<MonitorArea> Win32Desktop::Monitors() {
    std::vector<MonitorArea> monitors;
    for (const HMONITOR monitor : DisplayMonitors()) {
        monitors.push_back(ToMonitorArea(monitor));
    }
    if (monitors.empty()) {  // as the system answers every question of a window's monitor
        monitors.push_back(ToMonitorArea(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)));
    }
    return monitors;
}

WindowHandle Win32Desktop::ShellWindow() { return FromHwnd(GetShellWindow()); }

bool Win32Desktop::ThreadAnswers(WindowHandle window) {
    // Windows of one thread answer or hang together, so each thread is asked once per run.
    const DWORD thread = GetWindowThreadProcessId(ToHwnd(window), nullptr);
    const auto known = threadAnswers_.find(thread);
    if (known != threadAnswers_.end()) {
        return known->second;
    }
    DWORD_PTR ignored = 0;
    const bool answers =
        SendMessageTimeoutW(ToHwnd(window), WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                            kAnswerTimeoutMs, &ignored) != 0;
    threadAnswers_.emplace(thread, answers);
    return answers;
}

MoveOutcome Win32Desktop::MoveWindow(WindowHandle window, const WindowMove& move) {
    const HWND hwnd = ToHwnd(window);
    if (move.KeepPlace && move.KeepStacking && !move.Restore) {
        return MoveOutcome::Done;  // nothing would change
    }
    // A synchronous move waits for the window's thread; a hung one would never return.
    const bool answers = ThreadAnswers(window);
    // Never activated: the keyboard focus stays where the user had it.
    const UINT flags = SWP_NOACTIVATE | (move.KeepPlace ? SWP_NOMOVE : 0) |
                       (move.Resize ? 0 : SWP_NOSIZE) | (move.KeepStacking ? SWP_NOZORDER : 0) |
                       (answers ? 0 : SWP_ASYNCWINDOWPOS);
    // First: setting a maximised window's placement may move it (Wine puts it onto a monitor).
    if (move.Restore) {
        SetRestorePlace(hwnd, move, answers);
    }
    // Windows refuses moves of the windows of programs with more rights (access denied).
    if (::SetWindowPos(hwnd, HWND_BOTTOM, move.X, move.Y, move.Width, move.Height, flags) == 0 &&
        GetLastError() == ERROR_ACCESS_DENIED) {
        return MoveOutcome::Refused;
    }
    return answers ? MoveOutcome::Done : MoveOutcome::LeftToItsProgram;
}

void Win32Desktop::SetRestorePlace(HWND window, const WindowMove& move, bool answers) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (read_.window != window) {
        return;  // only the window just read
    }
    if (read_.placement) {
        placement = *read_.placement;
    } else if (GetWindowPlacement(window, &placement) == 0) {
        return;
    }
    const RestorePlace& restore = *move.Restore;
    placement.rcNormalPosition = Workspace(ToRECT(restore.Bounds), read_.exStyle, false);
    // Minimised, it stays so, inactive, and comes back as it would have: the flag that brings it
    // back maximised goes only with SW_SHOWMINIMIZED, which activates no window that is
    // minimised already. Maximised, it stays so, where the move puts it.
    if (IsIconic(window) != 0) {
        placement.showCmd = restore.Maximised ? SW_SHOWMINIMIZED : SW_SHOWMINNOACTIVE;
        placement.flags = restore.Maximised ? WPF_RESTORETOMAXIMIZED : 0;
    } else {
        const RECT at = Workspace({move.X, move.Y, move.X + move.Width, move.Y + move.Height},
                                  read_.exStyle, false);
        placement.showCmd = SW_SHOWNA;
        placement.flags = 0;
        placement.ptMaxPosition = {at.left, at.top};
    }
    // A window that does not answer is left to do it.
    placement.flags |= answers ? 0 : WPF_ASYNCWINDOWPLACEMENT;
    SetWindowPlacement(window, &placement);
}
