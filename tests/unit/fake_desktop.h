#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

// An in-memory desktop: windows in stacking order, a registry, files, a work area, a locale and
// an ANSI code page. Every call the logic makes is recorded in `Calls`, in order.
class FakeDesktop : public Desktop {
  public:
    struct Window {
        WindowHandle Handle = 0;
        bool Visible = true;
        std::string Title;  // in the ANSI code page
        Rect Bounds;
        WindowState State;
        std::optional<Rect> Frame;  // the visible frame, where the system reports one
    };
    struct Move {
        WindowHandle Window, InsertAfter;
        int32_t X, Y, Cx, Cy;
        unsigned Flags;
    };
    struct Value {
        unsigned long Type = kRegSz;
        std::string Data;
    };
    struct File {
        std::string Bytes;
        bool Hidden = false;
        bool System = false;
        bool Directory = false;
        bool Unreadable = false;
        bool TestFails = false;  // the existence test reports an error instead of an answer
    };
    enum class CodePage { SingleByte, MultiByte };  // Latin-1, or UTF-8 standing in for a DBCS

    // Adds a window on top of the stacking order and returns its handle.
    WindowHandle AddWindow(std::string title, Rect bounds, bool visible = true);
    Window& WindowAt(WindowHandle handle);
    // Handles from the top of the stacking order to the bottom.
    std::vector<WindowHandle> StackingOrder() const;
    void SetValue(const std::string& subkey, const std::string& name, Value value);
    const Value* FindValue(const std::string& subkey, const std::string& name) const;
    bool HasKey(const std::string& subkey) const;
    // Calls whose text starts with `prefix`.
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

    std::wstring Arguments;
    std::wstring Directory = L"C:\\Tools";
    std::wstring Separator = L".";
    CodePage AnsiCodePage = CodePage::SingleByte;
    Rect WorkArea{0, 0, 1024, 748};
    // Empty means one monitor {0, 0, 1024, 768} whose work area is `WorkArea`.
    std::vector<MonitorArea> Monitors;
    WindowHandle Shell = 0;
    std::vector<Window> Windows;  // top of the stacking order first
    std::map<std::wstring, File> Files;
    std::vector<Move> Moves;
    std::vector<std::wstring> Errors;
    std::vector<std::string> Calls;
    bool Closed = false;
    // Like Wine: a REG_SZ value stored without a final NUL is reported one byte longer, and
    // the read puts a NUL there.
    bool AddsNulToUnterminatedText = false;

    std::wstring CommandLineArguments() override;
    std::wstring ProgramDirectory() override;
    std::wstring DecimalSeparator() override;
    std::wstring LowerCase(std::wstring_view text) override;
    std::wstring FromAnsi(std::string_view bytes) override;
    std::string ToAnsi(std::wstring_view text) override;
    Rect GetWorkArea() override;
    void EnumWindows(const std::function<bool(WindowHandle)>& callback) override;
    bool IsWindowVisible(WindowHandle window) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int maxCount) override;
    Rect GetWindowRect(WindowHandle window) override;
    WindowState GetWindowState(WindowHandle window) override;
    bool GetVisibleFrame(WindowHandle window, Rect& frame) override;
    MonitorArea MonitorNearest(const Rect& rect) override;
    WindowHandle ShellWindow() override;
    void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                      int32_t cx, int32_t cy, unsigned flags) override;
    long RegOpenKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) override;
    long RegCreateKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) override;
    long RegQueryValueExA(RegistryKey key, const std::string& name, unsigned long& type,
                          unsigned char* data, unsigned long& size) override;
    long RegSetValueExA(RegistryKey key, const std::string& name, unsigned long type,
                        const unsigned char* data, unsigned long size) override;
    long RegCloseKey(RegistryKey key) override;
    void SetDeskWallpaper(const std::string& path, unsigned flags) override;
    FileTest TestFile(const std::wstring& path) override;
    bool ReadFileBytes(const std::wstring& path, std::string& bytes) override;
    void ReportError(const std::wstring& message) override;
    void CloseMainWindow() override;

    std::map<RegistryKey, std::string> OpenKeys;  // handle -> lowered subkey path

  private:
    std::map<std::string, std::map<std::string, Value>> registry_;  // lowered path and name
    WindowHandle nextWindow_ = 0x100;
    RegistryKey nextKey_ = 0x1000;
};

// Narrow text for call logs and messages in assertions (ASCII is kept, the rest becomes '?').
std::string Narrow(std::wstring_view text);
