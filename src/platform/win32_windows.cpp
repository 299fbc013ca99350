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

// Placements of top-level windows other than tool windows are in workspace coordinates: the
// work area's corner of the window's monitor is (0, 0). This is what to add to get screen ones.
POINT WorkspaceOffset(HWND window, DWORD exStyle) {
    if ((exStyle & WS_EX_TOOLWINDOW) != 0) {
        return {0, 0};
    }
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

// `rect` moved by (dx, dy), kept within the 32-bit range.
RECT Offset(const RECT& rect, LONG dx, LONG dy) {
    const auto move = [](LONG value, LONG by) {
        return static_cast<LONG>(std::clamp<int64_t>(int64_t{value} + by, INT32_MIN, INT32_MAX));
    };
    return {move(rect.left, dx), move(rect.top, dy), move(rect.right, dx), move(rect.bottom, dy)};
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

WindowFacts Win32Desktop::ReadWindow(WindowHandle window, bool withFrame) {
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
    RECT rect = {};
    ::GetWindowRect(hwnd, &rect);
    facts.Bounds = ToRect(rect);
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    facts.State = {(style & WS_MAXIMIZE) != 0,        (style & WS_MINIMIZE) != 0,
                   (exStyle & WS_EX_TOPMOST) != 0,    (style & WS_CAPTION) == WS_CAPTION,
                   (exStyle & WS_EX_NOACTIVATE) != 0, (exStyle & WS_EX_TOOLWINDOW) != 0,
                   (exStyle & WS_EX_LAYERED) != 0,    (exStyle & WS_EX_TRANSPARENT) != 0};
    RECT frame = {};
    WINDOWINFO info = {};
    info.cbSize = sizeof info;
    if (withFrame && GetDwmAttribute(hwnd, DWMWA_EXTENDED_FRAME_BOUNDS, &frame, sizeof frame)) {
        facts.Frame = ToRect(frame);
    } else if (withFrame && facts.State.Maximised && GetWindowInfo(hwnd, &info) != 0) {
        // Maximising puts the borders beyond the work area, where they are not seen.
        const auto x = static_cast<LONG>(info.cxWindowBorders);
        const auto y = static_cast<LONG>(info.cyWindowBorders);
        facts.Frame = Rect{rect.left + x, rect.top + y, rect.right - x, rect.bottom - y};
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (facts.State.Minimised && GetWindowPlacement(hwnd, &placement) != 0) {
        const POINT offset = WorkspaceOffset(hwnd, exStyle);
        facts.Restore = ToRect(Offset(placement.rcNormalPosition, offset.x, offset.y));
    }
    return facts;
}

MonitorArea Win32Desktop::MonitorNearest(const Rect& rect) {
    const RECT bounds = ToRECT(rect);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &info);
    return {ToRect(info.rcMonitor), ToRect(info.rcWork)};
}

std::vector<Rect> Win32Desktop::WorkAreas() {
    std::vector<Rect> areas;
    for (const HMONITOR monitor : DisplayMonitors()) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(monitor, &info) != 0) {
            areas.push_back(ToRect(info.rcWork));
        }
    }
    return areas;
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
    // Never activated: the keyboard focus stays where the user had it.
    const UINT flags =
        SWP_NOACTIVATE | (move.Resize ? 0 : SWP_NOSIZE) | (move.KeepStacking ? SWP_NOZORDER : 0);
    const auto place = [&](UINT more) {
        ::SetWindowPos(hwnd, HWND_BOTTOM, move.X, move.Y, move.Width, move.Height, flags | more);
    };
    // A synchronous move waits for the window's thread; a hung one would never return.
    if (!ThreadAnswers(window)) {
        place(SWP_ASYNCWINDOWPOS);
        return MoveOutcome::LeftToItsProgram;
    }
    if (MonitorsShareDpi()) {
        place(0);
        return MoveOutcome::Done;
    }
    const UINT before = LayoutDpi(hwnd);
    place(0);
    const UINT after = MonitorDpi(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST));
    return before != 0 && after != 0 && after != before ? MoveOutcome::OntoAnotherDpi
                                                        : MoveOutcome::Done;
}

bool Win32Desktop::MonitorsShareDpi() {
    // Finding a window's monitor is slow under Wine; with one DPI for all it is not needed.
    if (!monitorsShareDpi_) {
        std::vector<UINT> dpis;
        for (const HMONITOR monitor : DisplayMonitors()) {
            dpis.push_back(MonitorDpi(monitor));
        }
        monitorsShareDpi_ =
            std::adjacent_find(dpis.begin(), dpis.end(), std::not_equal_to<>()) == dpis.end();
    }
    return *monitorsShareDpi_;
}

void Win32Desktop::SetRestorePlace(WindowHandle window, const Rect& restore) {
    const HWND hwnd = ToHwnd(window);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hwnd, &placement) == 0) {
        return;
    }
    const POINT offset =
        WorkspaceOffset(hwnd, static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    placement.rcNormalPosition = Offset(ToRECT(restore), -offset.x, -offset.y);
    placement.showCmd = SW_SHOWMINNOACTIVE;
    // The minimised position stays as it is; a window that does not answer is left to do it.
    placement.flags &= WPF_RESTORETOMAXIMIZED;
    if (!ThreadAnswers(window)) {
        placement.flags |= WPF_ASYNCWINDOWPLACEMENT;
    }
    SetWindowPlacement(hwnd, &placement);
}
