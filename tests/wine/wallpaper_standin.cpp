// The system's desktop-wallpaper class as a test sets it, for Wine, which has none: scripts/
// wine-tests registers it in the private test prefix only. It answers what DESKGLIDE_SHOWN says,
// and is not there without it: "slideshow" or nothing, then "|" and a picture for each monitor,
// "?" for one whose picture it fails to tell. It has only what the exe calls, and one object of
// each kind, which lives as long as the process and is every interface asked of it.
#define CINTERFACE
#include <shlwapi.h>
#include <shobjidl.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> answer;  // DESKGLIDE_SHOWN cut at each "|", when the class is asked for

template <typename Face>
HRESULT STDMETHODCALLTYPE Query(Face* self, REFIID, void** out) {
    *out = self;
    return S_OK;
}
template <typename Face>
ULONG STDMETHODCALLTYPE Keep(Face*) {
    return 1;
}

HRESULT STDMETHODCALLTYPE Status(IDesktopWallpaper*, DESKTOP_SLIDESHOW_STATE* state) {
    *state = answer[0] == L"slideshow" ? DSS_ENABLED | DSS_SLIDESHOW : DSS_ENABLED;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE Count(IDesktopWallpaper*, UINT* count) {
    *count = static_cast<UINT>(answer.size() - 1);
    return S_OK;
}
HRESULT STDMETHODCALLTYPE Monitor(IDesktopWallpaper*, UINT index, LPWSTR* id) {
    return SHStrDupW(std::to_wstring(index + 1).c_str(), id);
}
HRESULT STDMETHODCALLTYPE Picture(IDesktopWallpaper*, LPCWSTR id, LPWSTR* picture) {
    const std::wstring& shown = answer[std::stoul(id)];
    SHStrDupW(shown == L"?" ? L"" : shown.c_str(), picture);
    return shown == L"?" ? E_FAIL : S_OK;
}

// In the interface's order; what the exe does not call is left out.
IDesktopWallpaperVtbl wallpaperFace = {Query, Keep, Keep, {},     Picture, Monitor, Count,
                                       {},    {},   {},   {},     {},      {},      {},
                                       {},    {},   {},   Status, {}};
IDesktopWallpaper wallpaper = {&wallpaperFace};
HRESULT STDMETHODCALLTYPE Create(IClassFactory*, IUnknown*, REFIID, void** out) {
    *out = &wallpaper;
    return S_OK;
}
IClassFactoryVtbl factoryFace = {Query, Keep, Keep, Create, {}};
IClassFactory factory = {&factoryFace};

}  // namespace

STDAPI DllGetClassObject(REFCLSID, REFIID, void** out) {
    wchar_t text[1024] = L"";
    answer.clear();
    std::wistringstream in(
        std::wstring(text, GetEnvironmentVariableW(L"DESKGLIDE_SHOWN", text, 1024)));
    for (std::wstring part; std::getline(in, part, L'|');) {
        answer.push_back(part);
    }
    *out = &factory;
    return answer.empty() ? CLASS_E_CLASSNOTAVAILABLE : S_OK;
}
