#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/rect.h"

// Opaque handles, wide enough for the platform's own; distinct types, so that one cannot be
// passed for the other.
enum class WindowHandle : std::uintptr_t {};
enum class RegistryKey : std::uintptr_t {};

constexpr RegistryKey kHkeyCurrentUser{0x80000001};
constexpr WindowHandle kInsertAtBottom{1};  // HWND_BOTTOM
constexpr unsigned kKeepSize = 1;           // SWP_NOSIZE
constexpr unsigned kKeepZOrder = 4;         // SWP_NOZORDER
constexpr unsigned long kRegSz = 1;
constexpr unsigned long kRegBinary = 3;
constexpr unsigned kUpdateAndBroadcast = 3;  // SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE

enum class FileTest { Absent, Present, Failed };
// The encodings a byte-order mark can select for a list file.
enum class UnicodeForm { Utf8, Utf16Le };

struct WindowState {
    bool Maximised = false;
    bool Minimised = false;
    bool Topmost = false;
};

// A monitor's whole rectangle and the part of it not taken by taskbars and docked bars.
struct MonitorArea {
    Rect Bounds;
    Rect WorkArea;
};

// Every operation the logic performs on the desktop. The Win32 implementation calls the ANSI
// variants named here; the tests stand a fake desktop in its place.
class Desktop {
  public:
    virtual ~Desktop() = default;

    // The text after the program's path, as one string: not split, quotes kept.
    virtual std::wstring CommandLineArguments() = 0;
    // The executable's folder, without a trailing separator.
    virtual std::wstring ProgramDirectory() = 0;

    // The user locale's decimal separator, for example "." or ",".
    virtual std::wstring DecimalSeparator() = 0;
    // Lower case in the user's locale.
    virtual std::wstring LowerCase(std::wstring_view text) = 0;
    // Conversions between the program's text and the system's ANSI code page.
    virtual std::wstring FromAnsi(std::string_view bytes) = 0;
    virtual std::string ToAnsi(std::wstring_view text) = 0;
    // Text in a Unicode encoding, without its mark; malformed sequences become U+FFFD.
    virtual std::wstring FromUnicode(std::string_view bytes, UnicodeForm form) = 0;

    // SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0); the result is not examined.
    virtual Rect GetWorkArea() = 0;

    // EnumWindows: calls `callback` once per top-level window, synchronously, while it returns
    // true. An exception thrown by the callback ends the enumeration and is rethrown here.
    virtual void EnumWindows(const std::function<bool(WindowHandle)>& callback) = 0;
    // Non-zero for a visible window.
    virtual bool IsWindowVisible(WindowHandle window) = 0;
    // GetWindowTextA: copies at most maxCount - 1 bytes and a NUL; returns the bytes copied.
    virtual int GetWindowTextA(WindowHandle window, char* buffer, int maxCount) = 0;
    // The window's screen rectangle; the result is not examined.
    virtual Rect GetWindowRect(WindowHandle window) = 0;
    // IsZoomed, IsIconic and WS_EX_TOPMOST.
    virtual WindowState GetWindowState(WindowHandle window) = 0;
    // The part of the window the user sees, without invisible resize borders, where the system
    // reports one (DWMWA_EXTENDED_FRAME_BOUNDS); false where it reports none, as under Wine.
    virtual bool GetVisibleFrame(WindowHandle window, Rect& frame) = 0;
    // The monitor nearest to `rect` (MonitorFromRect, MONITOR_DEFAULTTONEAREST).
    virtual MonitorArea MonitorNearest(const Rect& rect) = 0;
    // The shell's desktop window (GetShellWindow), WindowHandle{} when there is none.
    virtual WindowHandle ShellWindow() = 0;
    // Moves the window; a window that does not answer in time is moved asynchronously, so a
    // hung program cannot stop the run. The result is not examined.
    virtual void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                              int32_t cx, int32_t cy, unsigned flags) = 0;

    // Registry, ANSI variants; each returns the system's status (0 on success).
    virtual long RegOpenKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) = 0;
    virtual long RegCreateKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) = 0;
    // With a null `data`, reports type and size only; otherwise reads at most `size` bytes.
    virtual long RegQueryValueExA(RegistryKey key, const std::string& name, unsigned long& type,
                                  unsigned char* data, unsigned long& size) = 0;
    virtual long RegSetValueExA(RegistryKey key, const std::string& name, unsigned long type,
                                const unsigned char* data, unsigned long size) = 0;
    virtual long RegCloseKey(RegistryKey key) = 0;

    // SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, path, flags); the result is not examined.
    virtual void SetDeskWallpaper(const std::string& path, unsigned flags) = 0;

    // Whether a plain file exists at path; hidden and system files and folders count as absent.
    virtual FileTest TestFile(const std::wstring& path) = 0;
    // The whole file's bytes; false when it cannot be opened or read.
    virtual bool ReadFileBytes(const std::wstring& path, std::string& bytes) = 0;

    // Tells the user why the run stopped.
    virtual void ReportError(const std::wstring& message) = 0;
    // Closes the program's own window; with no other window the process then ends.
    virtual void CloseMainWindow() = 0;
};
