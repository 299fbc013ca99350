#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/rect.h"

// The one mode of a run; a mode is set when `Mode` is greater than None.
struct ScrollMode {
    static constexpr int32_t None = -1;
    static constexpr int32_t Gather = 0;
    static constexpr int32_t Horizontal = 1;
    static constexpr int32_t Vertical = 2;
};

// One entry of the window list: where it lies in the list's text.
struct ListEntry {
    size_t Start = 0;
    size_t Length = 0;
};

// Everything one run has decided. The run sequence writes it before the window pass; the
// window pass, the list filter and the wallpaper shift only read it.
struct RunSettings {
    bool MoveVertical = false;
    bool MoveHorizontal = false;
    bool GatherWindows = false;
    int32_t Mode = ScrollMode::None;
    int32_t VerticalStep = 0;
    int32_t HorizontalStep = 0;
    int16_t Direction = 1;
    Rect WorkArea;
    // The list file's text, lowered in the user's locale, and its entries in file order: kept
    // as one text because a list can have hundreds of thousands of lines.
    std::wstring WindowListText;
    std::vector<ListEntry> WindowList;
    bool ListLoaded = false;
    bool ExcludeMode = false;
    // A dry run tells what the run would do, and does nothing: it names the list and its
    // entries as the user wrote them.
    bool DryRun = false;
    std::wstring ListPath;
    std::wstring WindowListShown;
};
