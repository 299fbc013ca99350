#include "wallpaper/shift_wallpaper.h"

#include <string>

#include "common/checked_math.h"
#include "common/number_text.h"
#include "common/run_error.h"
#include "common/trim_spaces.h"
#include "wallpaper/mod_registry.h"

namespace {

const std::wstring kDesktopKey = L"Control Panel\\Desktop";
const std::wstring kOriginX = L"WallpaperOriginX";
const std::wstring kOriginY = L"WallpaperOriginY";

std::wstring OriginName(const std::wstring& value) { return L"The wallpaper origin " + value; }

// Windows 8 and later keep the origins as REG_DWORD, older versions as text: each is written
// back in the type it had.
int32_t ReadOrigin(Desktop& desktop, const std::wstring& value, unsigned long& type) {
    const std::wstring text = GetRegValue(desktop, kHkeyCurrentUser, kDesktopKey, value, &type);
    if (TrimSpaces(text).empty()) {
        // A missing value reads as empty text too; the user needs to know both are possible.
        throw RunError(RunErrorKind::Conversion, OriginName(value) + L" in HKEY_CURRENT_USER\\" +
                                                     kDesktopKey +
                                                     L" is missing or empty, not a number.");
    }
    return ToInt32(text, desktop.DecimalSeparator(), OriginName(value));
}

void MoveOrigin(Desktop& desktop, const std::wstring& value, int32_t step, int16_t direction) {
    unsigned long type = kRegSz;
    const int32_t old = ReadOrigin(desktop, value, type);
    const int32_t shift =
        Mul32(direction, step, [&] { return L"The step of the wallpaper origin " + value; });
    const int32_t moved = Add32(old, shift, [&] {
        return OriginName(value) + L", moved from " + std::to_wstring(old) + L" by " +
               std::to_wstring(shift) + L",";
    });
    SetRegNumber(desktop, kHkeyCurrentUser, kDesktopKey, value, moved, type);
}

void ResetOrigin(Desktop& desktop, const std::wstring& value) {
    unsigned long type = kRegSz;
    GetRegValue(desktop, kHkeyCurrentUser, kDesktopKey, value, &type);
    SetRegNumber(desktop, kHkeyCurrentUser, kDesktopKey, value, 0, type);
}

}  // namespace

void ShiftWallpaper(Desktop& desktop, const RunSettings& settings) {
    const std::wstring path =
        TrimSpaces(GetRegValue(desktop, kHkeyCurrentUser, L"Control Panel\\desktop", L"Wallpaper"));
    switch (settings.Mode) {
        case ScrollMode::Gather:
            ResetOrigin(desktop, kOriginX);
            ResetOrigin(desktop, kOriginY);
            break;
        case ScrollMode::Vertical:
            MoveOrigin(desktop, kOriginY, settings.VerticalStep, settings.Direction);
            break;
        case ScrollMode::Horizontal:
            MoveOrigin(desktop, kOriginX, settings.HorizontalStep, settings.Direction);
            break;
        default:
            return;
    }
    desktop.SetDeskWallpaper(path, kUpdateAndBroadcast);
}
