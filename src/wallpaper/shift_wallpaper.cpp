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

// Stores the new origin; a dry run tells what would become of it instead.
void StoreOrigin(Desktop& desktop, const RunSettings& settings, RunReport& report,
                 const std::wstring& value, const std::wstring& old, int32_t moved,
                 unsigned long type) {
    if (settings.DryRun) {
        report.Plan.push_back({L"(wallpaper)", L"", value + L" " + (old.empty() ? L"(none)" : old),
                               L"changes", L"to " + std::to_wstring(moved)});
    } else {
        SetRegNumber(desktop, kHkeyCurrentUser, kDesktopKey, value, moved, type);
    }
}

void MoveOrigin(Desktop& desktop, const RunSettings& settings, RunReport& report,
                const std::wstring& value, int32_t step) {
    const int32_t shift = DirectedStep(settings.Direction, step);
    try {
        unsigned long type = kRegSz;
        const int32_t old = ReadOrigin(desktop, value, type);
        const int32_t moved = Add32(old, shift, [&] {
            return OriginName(value) + L", moved from " + std::to_wstring(old) + L" by " +
                   std::to_wstring(shift) + L",";
        });
        StoreOrigin(desktop, settings, report, value, std::to_wstring(old), moved, type);
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

void ResetOrigin(Desktop& desktop, const RunSettings& settings, RunReport& report,
                 const std::wstring& value) {
    unsigned long type = kRegSz;
    const std::wstring old = GetRegValue(desktop, kHkeyCurrentUser, kDesktopKey, value, &type);
    StoreOrigin(desktop, settings, report, value, old, 0, type);
}

// Re-applying puts one picture on every monitor and ends a slideshow or Windows spotlight for the
// session, so it is done only where that cannot change what the desktop shows: a picture is
// stored, and the system tells that every monitor shows it and nothing changes it by itself, or
// has no way to tell. An empty path is a solid colour: there is no picture to re-apply. Why not,
// where not.
const wchar_t* WhyNotReapply(Desktop& desktop, const std::wstring& path) {
    if (path.empty()) {
        return L"no picture is stored (a solid colour)";
    }
    const std::optional<ShownWallpaper> shown = desktop.WallpaperShown();
    if (!shown) {
        return nullptr;
    }
    if (shown->Slideshow) {
        return L"a slideshow runs";
    }
    if (shown->Spotlight) {
        return L"Windows spotlight shows its pictures";
    }
    if (shown->Partial) {
        return L"Windows did not tell what every monitor shows";
    }
    // Paths name the same file whatever their case.
    const std::wstring stored = desktop.LowerCase(path);
    const bool same = std::all_of(
        shown->Pictures.begin(), shown->Pictures.end(),
        [&](const std::wstring& picture) { return desktop.LowerCase(picture) == stored; });
    return same ? nullptr : L"a monitor shows another picture";
}

}  // namespace

void ShiftWallpaper(Desktop& desktop, const RunSettings& settings, RunReport& report) {
    const std::wstring path =
        TrimSpaces(GetRegValue(desktop, kHkeyCurrentUser, kDesktopKey, L"Wallpaper"));
    switch (settings.Mode) {
        case ScrollMode::Gather:
            ResetOrigin(desktop, settings, report, kOriginX);
            ResetOrigin(desktop, settings, report, kOriginY);
            break;
        case ScrollMode::Vertical:
            MoveOrigin(desktop, settings, report, kOriginY, settings.VerticalStep);
            break;
        case ScrollMode::Horizontal:
            MoveOrigin(desktop, settings, report, kOriginX, settings.HorizontalStep);
            break;
        default:
            return;
    }
    // The picture is the one stored, so there is nothing to store: the user's "Wallpaper" value
    // keeps its type (REG_EXPAND_SZ in roaming and managed profiles), its spaces and its absence.
    const wchar_t* whyNot = WhyNotReapply(desktop, path);
    if (settings.DryRun) {
        report.Plan.push_back(
            {L"(wallpaper)", L"", path, whyNot ? L"stays" : L"re-applied", whyNot ? whyNot : L""});
    } else if (whyNot == nullptr) {
        desktop.ReapplyWallpaper(path);
    }
}
