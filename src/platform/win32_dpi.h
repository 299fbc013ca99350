#pragma once

#include <windows.h>

// DPI services of newer Windows, looked up at run time so that the exe still runs where they
// are missing (older Windows, Wine); there the system DPI stands in for the window's.

constexpr int kTwipsPerInch = 1440;

// The DPI the window is shown at.
UINT WindowDpi(HWND window);
// Twips to pixels at `dpi`, rounded to the nearest pixel.
int TwipsToPixels(int twips, UINT dpi);
// GetSystemMetrics as it would be at `dpi`.
int SystemMetricForDpi(int index, UINT dpi);
// The window rectangle that gives `client` as client area for a window of `style` at `dpi`.
RECT FrameForClient(RECT client, DWORD style, DWORD exStyle, UINT dpi);
// The system's message font (the one message boxes use) at `dpi`; the caller deletes it.
HFONT CreateMessageFont(UINT dpi);
