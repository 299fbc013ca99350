#pragma once

#include <string>

// What the program's one window shows, in twips (15 per pixel at 96 DPI) so that the platform
// can scale it for the window's actual DPI.
struct MainWindowContent {
    std::wstring Title;
    int ClientWidthTwips = 0;
    // The description: its text, wrapped at its width, and where it sits in the client area.
    std::wstring InfoText;
    int InfoLeftTwips = 0;
    int InfoTopTwips = 0;
    int InfoWidthTwips = 0;
    int InfoHeightTwips = 0;
    // How to use the program, below the description, as wide and in the same font. It is as
    // tall as its wrapped text, and the client area ends `UsageMarginTwips` below it.
    std::wstring UsageText;
    int UsageTopTwips = 0;
    int UsageMarginTwips = 0;
};
