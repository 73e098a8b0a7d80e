// Resource identifiers shared by the resource scripts and the code.
#pragma once

#define IDI_APP_LARGE 101    // 48x48 and 32x32, 24 bits per pixel
#define IDI_APP_SMALL 102    // 16x16, 8 bits per pixel; also the tray icon
#define IDC_PEN 103          // pencil, hot spot at its tip
#define IDC_ERASER 104       // 20x20 square outline, hot spot at its centre
#define IDC_HIGHLIGHTER 105  // inverting vertical bar, hot spot at its lower end
#define IDB_PANEL_ICONS 106  // palette panel buttons: pictures over their masks

#define IDM_TRAY 110
#define IDM_CONFIG 32771
#define IDM_EXIT 32772

#define IDS_TASKTRAY 111
#define IDS_HOTKEY 112
#define IDS_DELAYED_LAUNCH 113
#define IDS_SELECT_PEN_BY 114
#define IDS_REMEMBER_PALETTE 115
#define IDS_RESET 116
#define IDS_REMEMBER_LAST_PEN 117
#define IDS_REMEMBER_PEN_SIZE 118
#define IDS_INCLUDE_CURSOR 119
#define IDS_VIA_CLIPBOARD 120
#define IDS_MOUSE_HOOK 121
#define IDS_NON_TRAY_NOTICE 122
#define IDS_HOTKEY_FAILED 123
#define IDS_SAVE_FAILED 124    // a picture that could not be written; the path and the reason follow
#define IDS_CREATE_FAILED 125  // the paint window could not be created
