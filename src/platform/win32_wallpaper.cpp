#include <windows.h>
// After windows.h, which it needs: IDesktopWallpaper, of Windows 8 and later.
#include <shobjidl.h>

#include <memory>

#include "platform/win32_desktop.h"
#include "platform/win32_handles.h"

namespace {

// COM, from ole32 loaded at run time: only a run that re-applies the wallpaper needs it, and the
// exe keeps importing only what every run needs.
struct Com {
    decltype(&CoInitializeEx) initialize = nullptr;
    decltype(&CoUninitialize) uninitialize = nullptr;
    decltype(&CoCreateInstance) createInstance = nullptr;
    decltype(&CoTaskMemFree) freeMemory = nullptr;
};

template <typename Function>
bool Resolve(const char* name, Function& function) {
    function = SystemFunction<Function>(L"ole32.dll", name);
    return function != nullptr;
}

bool LoadCom(Com& com) {
    return Resolve("CoInitializeEx", com.initialize) &&
           Resolve("CoUninitialize", com.uninitialize) &&
           Resolve("CoCreateInstance", com.createInstance) &&
           Resolve("CoTaskMemFree", com.freeMemory);
}

// COM on this thread from construction to destruction, where it could be set up.
class ComSession {
  public:
    explicit ComSession(const Com& com)
        : com_(com), started_(SUCCEEDED(com.initialize(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComSession(const ComSession&) = delete;
    ComSession& operator=(const ComSession&) = delete;
    ~ComSession() {
        if (started_) {
            com_.uninitialize();
        }
    }
    bool Started() const { return started_; }

  private:
    const Com& com_;
    bool started_;
};

struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};

// Text the system allocated for the caller, which frees it.
std::wstring TakeText(const Com& com, LPWSTR text) {
    std::wstring taken = text != nullptr ? text : L"";
    com.freeMemory(text);
    return taken;
}

// What the desktop shows, as far as the system answers.
ShownWallpaper Ask(IDesktopWallpaper& wallpaper, const Com& com) {
    DESKTOP_SLIDESHOW_STATE state = {};
    UINT monitors = 0;
    if (FAILED(wallpaper.GetStatus(&state)) ||
        FAILED(wallpaper.GetMonitorDevicePathCount(&monitors))) {
        return {.Partial = true};
    }
    ShownWallpaper shown;
    shown.Slideshow = (state & DSS_SLIDESHOW) != 0;
    // Monitors not attached now count too: re-applying would change their pictures as well.
    for (UINT i = 0; i < monitors; ++i) {
        LPWSTR monitor = nullptr;
        if (FAILED(wallpaper.GetMonitorDevicePathAt(i, &monitor))) {
            return {.Partial = true};
        }
        const std::wstring id = TakeText(com, monitor);
        LPWSTR picture = nullptr;
        if (FAILED(wallpaper.GetWallpaper(id.c_str(), &picture))) {
            com.freeMemory(picture);  // the empty text it may give even then
            return {.Partial = true};
        }
        shown.Pictures.push_back(TakeText(com, picture));
    }
    return shown;
}

// Windows spotlight, of Windows 10 22H2 and 11, is told by the background type that the Settings
// page records (0 picture, 1 solid colour, 2 slideshow, 3 Windows spotlight): the wallpaper
// interface has no word for it.
bool ShowsSpotlight() {
    DWORD type = 0;
    DWORD size = sizeof type;
    return RegGetValueW(HKEY_CURRENT_USER,
                        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Wallpapers",
                        L"BackgroundType", RRF_RT_REG_DWORD, nullptr, &type,
                        &size) == ERROR_SUCCESS &&
           type == 3;
}

}  // namespace

std::optional<ShownWallpaper> Win32Desktop::WallpaperShown() {
    if (ShowsSpotlight()) {
        return ShownWallpaper{.Spotlight = true};
    }
    Com com;
    if (!LoadCom(com)) {
        return std::nullopt;
    }
    const ComSession session(com);
    IDesktopWallpaper* created = nullptr;
    // Wine 8 has no such class (REGDB_E_CLASSNOTREG, measured).
    if (!session.Started() || FAILED(com.createInstance(__uuidof(DesktopWallpaper), nullptr,
                                                        CLSCTX_ALL, __uuidof(IDesktopWallpaper),
                                                        reinterpret_cast<void**>(&created)))) {
        return std::nullopt;
    }
    const std::unique_ptr<IDesktopWallpaper, ComReleaser> wallpaper(created);
    return Ask(*wallpaper, com);
}

void Win32Desktop::ReapplyWallpaper(const std::wstring& path) {
    std::wstring writable = path;
    // Without SPIF_UPDATEINIFILE: the picture is the one stored, and its value stays as it is.
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, writable.data(), SPIF_SENDWININICHANGE);
}
