#pragma once

#include <string>

// What the program's one window shows, in twips (15 per pixel at 96 DPI) so that the platform
// can scale it for the window's actual DPI.
struct MainWindowContent {
    std::wstring Title;
    int ClientWidthTwips = 0;
    int ClientHeightTwips = 0;
};
