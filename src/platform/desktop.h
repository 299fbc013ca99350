#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/rect.h"

// Opaque handles, wide enough for the platform's own; distinct types, so that one cannot be
// passed for the other.
enum class WindowHandle : std::uintptr_t {};
enum class RegistryKey : std::uintptr_t {};

constexpr RegistryKey kHkeyCurrentUser{0x80000001};
constexpr unsigned long kRegSz = 1;
constexpr unsigned long kRegExpandSz = 2;
constexpr unsigned long kRegBinary = 3;
constexpr unsigned long kRegDword = 4;

enum class FileTest { Absent, Present, Failed };
enum class TextEncoding { Ansi, Utf8, Utf16Le };

// What the window's styles say, read together.
struct WindowState {
    bool Maximised = false;
    bool Minimised = false;
    bool Topmost = false;
    bool Caption = false;      // WS_CAPTION wholly set: a title bar the user can drag
    bool NoActivate = false;   // WS_EX_NOACTIVATE: never activated by a click
    bool ToolWindow = false;   // WS_EX_TOOLWINDOW: a palette, a bar, a widget
    bool Layered = false;      // WS_EX_LAYERED
    bool Transparent = false;  // WS_EX_TRANSPARENT: with Layered, clicks go through it
};

// What the pass needs to know of one top-level window to decide whether it takes part.
struct WindowFacts {
    bool Visible = false;
    // Hidden by the desktop window manager though visible: on another virtual desktop, or a
    // suspended app. False where the system cannot tell, as under Wine.
    bool Cloaked = false;
    std::wstring Title;  // at most 255 characters; empty when it has none
    WindowState State;
};

// Where a window is.
struct WindowPlace {
    Rect Bounds;
    // The part of the window the user sees, without invisible resize borders, where the system
    // reports one and it was asked for: the window manager's (DWMWA_EXTENDED_FRAME_BOUNDS);
    // without one, for a maximised window, its rectangle less the borders that maximising puts
    // beyond the work area.
    std::optional<Rect> Frame;
};

// Where a minimised or maximised window comes back to when the user restores it, in screen
// coordinates.
struct RestorePlace {
    Rect Bounds;
    // The part the user will see of it: without the invisible borders that a window of its
    // style has at its DPI.
    Rect Frame;
    // A window minimised from maximised comes back maximised.
    bool Maximised = false;
    bool operator==(const RestorePlace&) const = default;
};

// The DPI a window has as Windows sees it (GetDpiForWindow): a per-monitor-aware window's own,
// that of the monitor it was last on; 96 for a DPI-unaware one and the system DPI for a
// system-aware one, which Windows scales for whatever monitor they are on. 0 where the system
// cannot tell.
struct WindowDpi {
    bool PerMonitorAware = false;
    unsigned Dpi = 0;
};

// A registry value as stored: text for REG_SZ and REG_EXPAND_SZ (up to its first NUL, the
// latter with its variables expanded), bytes for every other type.
struct RegistryValue {
    unsigned long Type = kRegSz;
    std::wstring Text;
    std::string Bytes;
    bool operator==(const RegistryValue&) const = default;
};

// What the desktop shows, as the system tells it.
struct ShownWallpaper {
    bool Slideshow = false;  // a slideshow is set up: its pictures change by themselves
    bool Spotlight = false;  // Windows spotlight: pictures the system fetches itself
    std::vector<std::wstring> Pictures = {};  // each monitor's picture; empty text for none
    bool Partial = false;  // the system stopped answering part-way: the rest is not known
};

// A monitor's whole rectangle, the part of it not taken by taskbars and docked bars, and its
// effective DPI (0 where the system cannot tell).
struct MonitorArea {
    Rect Bounds;
    Rect WorkArea;
    unsigned Dpi = 0;
};

// Where a move puts a window: unless `KeepPlace`, its new top-left corner, and with `Resize`
// its new size; with `Restore`, the new restore place of a minimised or maximised window, which
// stays so. It goes to the bottom of
// the stacking order unless `KeepStacking`, and it is never activated.
struct WindowMove {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool KeepPlace = false;
    bool Resize = false;
    bool KeepStacking = false;
    std::optional<RestorePlace> Restore = {};
};

// How a move went.
enum class MoveOutcome {
    Done,
    // It did not answer in time: the move was left to its program, so a hung one cannot stop
    // the run.
    LeftToItsProgram,
    // The system refused it: the window belongs to a program that runs with more rights.
    Refused,
};

// The program that a window belongs to, as a dry run tells of it: its file name, whether it
// runs with more rights than Deskglide (where the system tells), and whether it answers.
struct WindowProgram {
    std::wstring Name;
    bool MoreRights = false;
    bool Answers = true;
};

// Every operation the logic performs on the desktop, in wide text; the tests stand a fake
// desktop in its place.
class Desktop {
  public:
    virtual ~Desktop() = default;

    // The text after the program's path, as one string: not split, quotes kept.
    virtual std::wstring CommandLineArguments() = 0;
    // The executable's folder, without a trailing separator: that of the file itself, where the
    // program was started through a link to it.
    virtual std::wstring ProgramDirectory() = 0;
    // The folder where the user keeps lists that no update of the program touches, without a
    // trailing separator: Deskglide in the user's roaming application data folder as the system
    // names it, or as %APPDATA% does where it cannot tell. Empty where neither names one.
    virtual std::wstring UserListDirectory() = 0;

    // The user locale's decimal separator, for example "." or ",".
    virtual std::wstring DecimalSeparator() = 0;
    // Lower case in the user's locale.
    virtual std::wstring LowerCase(std::wstring_view text) = 0;
    // `bytes` in `encoding` (Ansi: the system's ANSI code page) as the program's text. Returns
    // false when they are not valid UTF-8; `text` then holds them with U+FFFD for what is not.
    virtual bool DecodeText(std::string_view bytes, TextEncoding encoding, std::wstring& text) = 0;

    // SystemParametersInfo(SPI_GETWORKAREA); the result is not examined.
    virtual Rect GetWorkArea() = 0;

    // EnumWindows: calls `callback` once per top-level window, synchronously, while it returns
    // true. An exception thrown by the callback ends the enumeration and is rethrown here.
    virtual void EnumWindows(const std::function<bool(WindowHandle)>& callback) = 0;
    // What decides whether the window takes part. The facts after a false Visible, a true
    // Cloaked or an empty Title may be left unread.
    virtual WindowFacts ReadWindow(WindowHandle window) = 0;
    // Where the window is; its visible frame only `withFrame`.
    virtual WindowPlace ReadPlace(WindowHandle window, bool withFrame) = 0;
    // Where a minimised or maximised window comes back to; none where the system does not tell.
    virtual std::optional<RestorePlace> ReadRestorePlace(WindowHandle window) = 0;
    // The DPI the window has, before it moves; whether it is per-monitor aware only
    // `withAwareness`.
    virtual WindowDpi ReadDpi(WindowHandle window, bool withAwareness) = 0;
    // The monitor nearest to `rect` (MonitorFromRect, MONITOR_DEFAULTTONEAREST): the one with
    // the largest part of it; for a rectangle on no monitor, the nearest by distance.
    virtual MonitorArea MonitorNearest(const Rect& rect) = 0;
    // Every monitor: at least one.
    virtual std::vector<MonitorArea> Monitors() = 0;
    // The shell's desktop window (GetShellWindow), WindowHandle{} when there is none.
    virtual WindowHandle ShellWindow() = 0;
    // Moves the window. A restore place that the system refuses to set (that of another
    // program's window, under Wine) stays as it was.
    virtual MoveOutcome MoveWindow(WindowHandle window, const WindowMove& move) = 0;
    // The program that the window belongs to; asked by a dry run only.
    virtual WindowProgram ReadProgram(WindowHandle window) = 0;

    // Value `name` under root\subkey; false when the key or the value is missing or unreadable.
    virtual bool ReadValue(RegistryKey root, const std::wstring& subkey, const std::wstring& name,
                           RegistryValue& value) = 0;
    // Stores the value, creating the key when needed; a failed write is silent.
    virtual void WriteValue(RegistryKey root, const std::wstring& subkey, const std::wstring& name,
                            const RegistryValue& value) = 0;

    // What the desktop shows; none where the system has no way to tell (before Windows 8, under
    // Wine).
    virtual std::optional<ShownWallpaper> WallpaperShown() = 0;
    // Shows the picture at `path` on the whole desktop for this session, and tells every
    // top-level window; the stored desktop settings stay as they are. The result is not examined.
    virtual void ReapplyWallpaper(const std::wstring& path) = 0;

    // Whether a plain file exists at path; hidden and system files and folders count as absent.
    virtual FileTest TestFile(const std::wstring& path) = 0;
    // The whole file's bytes; false when it cannot be opened or read, with the system's reason
    // in `reason`.
    virtual bool ReadFileBytes(const std::wstring& path, std::string& bytes,
                               std::wstring& reason) = 0;

    // Tells the user why the run stopped.
    virtual void ReportError(const std::wstring& message) = 0;
    // Tells the user what a dry run found, once the run is over: as UTF-8 text on the standard
    // output where that is a file or a pipe, else in a window of its own.
    virtual void ShowPlan(const std::wstring& text) = 0;
    // Closes the program's own window; with no other window the process then ends.
    virtual void CloseMainWindow() = 0;
};
