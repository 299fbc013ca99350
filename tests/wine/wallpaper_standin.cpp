// The system's desktop-wallpaper class as a test sets it, for Wine, which has none: scripts/
// wine-tests registers it in the private test prefix only. It answers what DESKGLIDE_SHOWN says,
// and is not there without it: "slideshow" or nothing, then "|" and a picture for each monitor,
// "?" for one whose picture it fails to tell. It has only what the exe calls, and one object of
// each kind, which lives as long as the process and is every interface asked of it.
#define CINTERFACE
#include <shobjidl.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

std::wstring Answer() {
    std::wstring text(1024, L'\0');
    return text.substr(0, GetEnvironmentVariableW(L"DESKGLIDE_SHOWN", text.data(), 1024));
}

// What stands after `index` bars, up to the next.
std::wstring Part(size_t index) {
    std::wstring rest = Answer();
    for (; index > 0; --index) {
        rest.erase(0, rest.find(L'|') + 1);
    }
    return rest.substr(0, rest.find(L'|'));
}

// A copy for the caller to free; "?" fails.
HRESULT Give(const std::wstring& text, LPWSTR* out) {
    const size_t size = (text.size() + 1) * sizeof(wchar_t);
    *out = static_cast<LPWSTR>(std::memcpy(CoTaskMemAlloc(size), text.c_str(), size));
    return text == L"?" ? E_FAIL : S_OK;
}

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
    *state = Part(0) == L"slideshow" ? DSS_ENABLED | DSS_SLIDESHOW : DSS_ENABLED;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE Count(IDesktopWallpaper*, UINT* count) {
    *count = static_cast<UINT>(std::ranges::count(Answer(), L'|'));
    return S_OK;
}
HRESULT STDMETHODCALLTYPE Monitor(IDesktopWallpaper*, UINT index, LPWSTR* id) {
    return Give(std::to_wstring(index + 1), id);
}
HRESULT STDMETHODCALLTYPE Picture(IDesktopWallpaper*, LPCWSTR id, LPWSTR* picture) {
    return Give(Part(std::stoul(id)), picture);
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
    *out = &factory;
    return Answer().empty() ? CLASS_E_CLASSNOTAVAILABLE : S_OK;
}
