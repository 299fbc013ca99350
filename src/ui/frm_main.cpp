#include "ui/frm_main.h"

MainWindowContent FrmMainContent() {
    MainWindowContent content;
    content.Title = L"Deskglide";
    content.ClientWidthTwips = 4650;
    content.ClientHeightTwips = 1380;
    return content;
}
