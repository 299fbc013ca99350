// A desktop value of random type, size and bytes: reading it never fails or overruns, and the
// wallpaper shift either stops before writing anything or writes valid decimal text.
#include <cstdlib>
#include <cwctype>

#include "common/run_error.h"
#include "fake_desktop.h"
#include "fuzz_input.h"
#include "wallpaper/mod_registry.h"
#include "wallpaper/shift_wallpaper.h"

namespace {

const char kDesktopKey[] = "Control Panel\\Desktop";
const char* const kNames[] = {"Wallpaper", "WallpaperOriginX", "WallpaperOriginY"};

// Decimal text of a signed 32-bit integer: an optional -, digits, no leading zero.
bool IsDecimalInt32(const std::string& text) {
    const size_t digits = text.rfind('-', 0) == 0 ? 1 : 0;
    if (text.size() == digits || text.size() - digits > 10) {
        return false;
    }
    for (size_t k = digits; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') {
            return false;
        }
    }
    if (text[digits] == '0' && text.size() > digits + 1) {
        return false;
    }
    const long long value = std::stoll(text);
    return value >= INT32_MIN && value <= INT32_MAX && text != "-0";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    FakeDesktop desktop;
    const auto flags = input.Take<uint8_t>();
    desktop.AddsNulToUnterminatedText = (flags & 1) != 0;
    const char* name = kNames[(flags >> 1) % 3];
    RunSettings settings;
    settings.Mode = static_cast<int32_t>((flags >> 3) % 4) - 1;
    settings.Direction = (flags & 0x20) ? -1 : 1;
    settings.VerticalStep = input.Take<int32_t>();
    settings.HorizontalStep = input.Take<int32_t>();
    const auto type = static_cast<unsigned long>(input.Take<uint8_t>() % 12);
    desktop.SetValue(kDesktopKey, name, {type, input.RestAsBytes()});

    RegistryKey key = 0;
    desktop.RegOpenKeyA(kHkeyCurrentUser, kDesktopKey, key);
    const std::wstring text =
        QueryValueText(desktop, key, std::wstring(name, name + std::strlen(name)));
    desktop.RegCloseKey(key);
    if (text.find(L'\0') != std::wstring::npos) {
        std::abort();
    }
    if (type == kRegBinary && !text.empty() &&
        !IsDecimalInt32(std::string(text.begin(), text.end()))) {
        std::abort();
    }

    desktop.Calls.clear();
    try {
        ShiftWallpaper(desktop, settings);
    } catch (const RunError&) {
        if (!desktop.CallsStartingWith("RegSetValueExA").empty() ||
            !desktop.CallsStartingWith("SetDeskWallpaper").empty()) {
            std::abort();  // nothing may be written once the shift has failed
        }
        return 0;
    }
    for (const char* origin : {"WallpaperOriginX", "WallpaperOriginY"}) {
        const auto* value = desktop.FindValue(kDesktopKey, origin);
        const bool written =
            !desktop.CallsStartingWith(std::string("RegSetValueExA ") + origin).empty();
        if (written &&
            (value == nullptr || value->Type != kRegSz || !IsDecimalInt32(value->Data))) {
            std::abort();
        }
    }
    return 0;
}
