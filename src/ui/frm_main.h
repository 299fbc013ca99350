#pragma once

#include "platform/main_window.h"

// The content of frmMain, the information window shown when no mode letter is given.
MainWindowContent FrmMainContent();
