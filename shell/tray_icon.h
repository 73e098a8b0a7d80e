// The program's icon in the notification area, its menu, and what clicks on it do.
#pragma once
#include <windows.h>
#include <shellapi.h>

constexpr UINT TRAY_ICON_ID = 100;

extern bool trayIconAdded;
extern HMENU trayMenu;
extern NOTIFYICONDATAA notifyIcon;

// Loads the menu and adds the icon with the tip "Scrivane"; its callback is TWM_TRAY_NOTIFY.
void AddTrayIcon(HWND window);
// Removes the icon and destroys the menu.
void RemoveTrayIcon();

// TWM_TRAY_NOTIFY: a left click starts a session (with the launch delay), a right click opens the menu.
void OnTrayNotify(HWND window, UINT mouseMessage);

// A restarted shell has forgotten every icon: add it again.
void OnTaskbarCreated(HWND window);
