#include "ui/frm_main.h"

MainWindowContent FrmMainContent() {
    MainWindowContent content;
    content.Title = L"Deskglide";
    content.ClientWidthTwips = 4650;
    content.ClientHeightTwips = 1380;
    // lblInfo
    content.InfoText =
        L"A small program that makes it possible to scroll all the windows and the wallpaper. "
        L"If you \"lost\" the windows it is possible to move them back to the screen. The "
        L"program also makes it possible to only move some windows or to exclude some windows.";
    content.InfoLeftTwips = 30;
    content.InfoTopTwips = 30;
    content.InfoWidthTwips = 4575;
    content.InfoHeightTwips = 1305;
    return content;
}
