#pragma once

#include <windows.h>

// DPI services of newer Windows, looked up at run time so that the exe still runs where they
// are missing (older Windows, Wine); there the system DPI stands in for the window's.

constexpr int kTwipsPerInch = 1440;

// The DPI the window is shown at.
UINT ShownDpi(HWND window);
// The DPI the window has (that of the monitor it was last on, for a program that follows
// monitors); 0 where the system cannot tell, before Windows 10 1607.
UINT KnownWindowDpi(HWND window);
// Whether the window follows the monitors' DPIs with a DPI of its own; false where the system
// cannot tell, before Windows 10 1607.
bool PerMonitorAware(HWND window);
// The monitor's effective DPI; 0 where the system cannot tell, before Windows 8.1.
UINT MonitorDpi(HMONITOR monitor);
// Twips to pixels at `dpi`, rounded to the nearest pixel.
int TwipsToPixels(int twips, UINT dpi);
// GetSystemMetrics as it would be at `dpi`.
int SystemMetricForDpi(int index, UINT dpi);
// The window rectangle that gives `client` as client area for a window of `style` at `dpi`.
RECT FrameForClient(RECT client, DWORD style, DWORD exStyle, UINT dpi);
// The system's message font (the one message boxes use) at `dpi`; the caller deletes it.
HFONT CreateMessageFont(UINT dpi);
