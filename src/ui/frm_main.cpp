#include "ui/frm_main.h"

#include "version.h"

MainWindowContent FrmMainContent() {
    MainWindowContent content;
    content.Title = L"Deskglide";
    content.ClientWidthTwips = 4650;
    // lblInfo
    content.InfoText =
        L"A small program that makes it possible to scroll all the windows and the wallpaper. "
        L"If you \"lost\" the windows it is possible to move them back to the screen. The "
        L"program also makes it possible to only move some windows or to exclude some windows.";
    content.InfoLeftTwips = 30;
    content.InfoTopTwips = 30;
    content.InfoWidthTwips = 4575;
    content.InfoHeightTwips = 1305;
    // Where the window used to end, for a user who opened it to learn how to use it.
    content.UsageText =
        L"deskglide.exe [letters] [vertical] [horizontal]\n"
        L"g: bring lost windows back onto the screen\n"
        L"v, h: move the windows down, right (up, left with -)\n"
        L"s, or % after a number (10%): the numbers are percentages of the work area\n"
        L"e, i: leave out the windows named in exclude.txt, or move only those in include.txt\n"
        L"w: move the wallpaper origin too\n"
        L"--dry-run: tell what the run would do, and why, and do nothing\n"
        L"The numbers: the vertical and the horizontal distance (one number sets both; "
        L"without, 50 pixels, or 25 % with s)\n"
        L"README.txt beside deskglide.exe tells the rest.\n"
        L"Version " DESKGLIDE_VERSION_TEXT;
    content.UsageTopTwips = 1380;
    content.UsageMarginTwips = 45;
    return content;
}
