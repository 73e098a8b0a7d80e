#include "render/color_dialog.h"

#include <commdlg.h>

#include "render/dialog_placement.h"
#include "shell/base/default_palette.h"
#include "shell/base/monitor.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"

COLORREF customColors[16];

void InitCustomColors()
{
    for (int i = 0; i < kPaletteSize; ++i)
        customColors[i] = defaultPalette[i];
    for (int i = kPaletteSize; i < 16; ++i)
        customColors[i] = RGB(255, 255, 255);
}

namespace {

void PlaceAtPointer(HWND dialog)
{
    // The work area of the pointer's monitor, not the paint window: the paint window spans the
    // virtual screen, which has holes where monitors of different sizes leave them, and a dialog
    // clamped to it can land with OK and Cancel where no monitor shows them.
    const PointerMonitor m = MonitorUnderPointer();
    RECT window;
    RECT client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    const POINT at = PlaceTitleUnderPointer(m.pointer, POINT{window.right - window.left, window.bottom - window.top},
                                            POINT{client.right, client.bottom}, m.work);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

bool ChooseCellColor(HWND owner, COLORREF initial, COLORREF& chosen)
{
    // The first row always offers the remembered palette; the second keeps what the user stored.
    for (int i = 0; i < kPaletteSize; ++i)
        customColors[i] = Settings.palette[i];
    CHOOSECOLORA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.rgbResult = initial;
    dialog.lpCustColors = customColors;
    dialog.Flags = CC_RGBINIT | CC_ENABLEHOOK | CC_ANYCOLOR;
    dialog.lpfnHook = ColorDialogHook;
    if (!ChooseColorA(&dialog))
        return false;
    chosen = dialog.rgbResult;
    return true;
}

UINT_PTR CALLBACK ColorDialogHook(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        PlaceAtPointer(dialog);
    return 0;
}
