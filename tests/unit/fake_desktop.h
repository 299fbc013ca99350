#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"

// An in-memory desktop: windows from the top of the stacking order down, the desktop settings
// key, files, a locale and Latin-1 as the ANSI code page. It keeps what a run did to it: where
// windows went, what was stored and shown.
class FakeDesktop : public Desktop {
  public:
    struct Window {
        WindowHandle Handle{};
        std::string Title;  // in the ANSI code page
        Rect Bounds;
        bool Visible = true;
    };
    struct Value {
        unsigned long Type = kRegSz;
        std::string Data;
        bool ReadFails = false;  // the size is reported, the data read fails
    };
    struct File {
        std::optional<std::string> Bytes;  // none: it exists but cannot be read
        FileTest Test = FileTest::Present;
    };

    std::wstring Arguments;
    std::wstring Separator = L".";
    Rect WorkArea{0, 0, 1024, 748};
    std::vector<Window> Windows;
    std::map<std::wstring, File> Files;       // by full path
    std::map<std::string, Value> DesktopKey;  // the desktop settings, by value name
    std::optional<std::string> AppliedWallpaper;
    std::vector<std::wstring> Errors;
    bool Closed = false;
    int OpenKeys = 0;

    Window& At(WindowHandle handle);

    std::wstring CommandLineArguments() override { return Arguments; }
    std::wstring ProgramDirectory() override { return L"C:\\Tools"; }
    std::wstring DecimalSeparator() override { return Separator; }
    std::wstring LowerCase(std::wstring_view text) override;
    std::wstring FromAnsi(std::string_view bytes) override;
    std::string ToAnsi(std::wstring_view text) override;
    std::wstring FromUnicode(std::string_view bytes, UnicodeForm form) override;
    Rect GetWorkArea() override { return WorkArea; }
    void EnumWindows(const std::function<bool(WindowHandle)>& callback) override;
    bool IsWindowVisible(WindowHandle window) override { return At(window).Visible; }
    int GetWindowTextA(WindowHandle window, char* buffer, int maxCount) override;
    Rect GetWindowRect(WindowHandle window) override { return At(window).Bounds; }
    void SetWindowPos(WindowHandle window, WindowHandle insertAfter, int32_t x, int32_t y,
                      int32_t cx, int32_t cy, unsigned flags) override;
    long RegOpenKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) override;
    long RegCreateKeyA(RegistryKey root, const std::string& subkey, RegistryKey& key) override {
        return RegOpenKeyA(root, subkey, key);
    }
    long RegQueryValueExA(RegistryKey key, const std::string& name, unsigned long& type,
                          unsigned char* data, unsigned long& size) override;
    long RegSetValueExA(RegistryKey key, const std::string& name, unsigned long type,
                        const unsigned char* data, unsigned long size) override;
    long RegCloseKey(RegistryKey key) override;
    void SetDeskWallpaper(const std::string& path, unsigned flags) override {
        AppliedWallpaper = flags == kUpdateAndBroadcast ? path : "(flags)";
    }
    FileTest TestFile(const std::wstring& path) override {
        return Files.count(path) ? Files[path].Test : FileTest::Absent;
    }
    bool ReadFileBytes(const std::wstring& path, std::string& bytes) override;
    void ReportError(const std::wstring& message) override { Errors.push_back(message); }
    void CloseMainWindow() override { Closed = true; }
};
