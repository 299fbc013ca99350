#include "wallpaper/shift_wallpaper.h"

#include <algorithm>
#include <optional>
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

std::wstring OriginName(const std::wstring& value) {
    return L"The wallpaper origin " + value + L" (in HKEY_CURRENT_USER\\" + kDesktopKey + L")";
}

// Windows 8 and later keep the origins as REG_DWORD, older versions as text: each is written
// back in the type it had.
int32_t ReadOrigin(Desktop& desktop, const std::wstring& value, unsigned long& type) {
    const std::wstring text = GetRegValue(desktop, kHkeyCurrentUser, kDesktopKey, value, &type);
    const std::wstring separator = desktop.DecimalSeparator();
    if (!IsNumericText(text, separator)) {
        // A missing value reads as empty text too, and so does a value of a type that holds no
        // number; the user needs to know which it is.
        const std::wstring unread = UnreadTypeName(type);
        std::wstring wrong = L" holds " + Quoted(text) + L", which is not a number.";
        if (!unread.empty()) {
            wrong = L" holds a value of type " + unread +
                    L", where a number (REG_DWORD or REG_SZ) should be.";
        } else if (TrimSpaces(text).empty()) {
            wrong = L" is missing or empty, where a number should be.";
        }
        throw RunError(RunErrorKind::Conversion, OriginName(value) + wrong);
    }
    return ToInt32(text, separator, OriginName(value));
}

void MoveOrigin(Desktop& desktop, const std::wstring& value, int32_t step, int16_t direction) {
    const int32_t shift = DirectedStep(direction, step);
    try {
        unsigned long type = kRegSz;
        const int32_t old = ReadOrigin(desktop, value, type);
        const int32_t moved = Add32(old, shift, [&] {
            return OriginName(value) + L", moved from " + std::to_wstring(old) + L" by " +
                   std::to_wstring(shift) + L",";
        });
        SetRegNumber(desktop, kHkeyCurrentUser, kDesktopKey, value, moved, type);
    } catch (const RunError& error) {
        // A stored origin the run cannot use stops every later run with w too: the user is told
        // how to get on.
        throw RunError(error.Kind(),
                       error.Message() +
                           L"\n\nTo repair it, set it to 0 with Registry Editor, or run "
                           L"\"deskglide.exe gw\", which sets both origins to 0 and also gathers "
                           L"the windows.");
    }
}

void ResetOrigin(Desktop& desktop, const std::wstring& value) {
    unsigned long type = kRegSz;
    GetRegValue(desktop, kHkeyCurrentUser, kDesktopKey, value, &type);
    SetRegNumber(desktop, kHkeyCurrentUser, kDesktopKey, value, 0, type);
}

// Re-applying puts one picture on every monitor and ends a slideshow or Windows spotlight for the
// session, so it is done only where that cannot change what the desktop shows: a picture is
// stored, and the system tells that every monitor shows it and nothing changes it by itself, or
// has no way to tell. An empty path is a solid colour: there is no picture to re-apply.
bool ReapplyKeepsPictures(Desktop& desktop, const std::wstring& path) {
    if (path.empty()) {
        return false;
    }
    const std::optional<ShownWallpaper> shown = desktop.WallpaperShown();
    if (!shown) {
        return true;
    }
    // Paths name the same file whatever their case.
    const std::wstring stored = desktop.LowerCase(path);
    return !shown->Slideshow && !shown->Spotlight && !shown->Partial &&
           std::all_of(
               shown->Pictures.begin(), shown->Pictures.end(),
               [&](const std::wstring& picture) { return desktop.LowerCase(picture) == stored; });
}

}  // namespace

void ShiftWallpaper(Desktop& desktop, const RunSettings& settings) {
    const std::wstring path =
        TrimSpaces(GetRegValue(desktop, kHkeyCurrentUser, kDesktopKey, L"Wallpaper"));
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
    // The picture is the one stored, so there is nothing to store: the user's "Wallpaper" value
    // keeps its type (REG_EXPAND_SZ in roaming and managed profiles), its spaces and its absence.
    if (ReapplyKeepsPictures(desktop, path)) {
        desktop.ReapplyWallpaper(path);
    }
}
