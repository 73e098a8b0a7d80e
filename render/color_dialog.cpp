#include "render/color_dialog.h"

#include "shell/default_palette.h"

COLORREF customColors[16];

void InitCustomColors()
{
    for (int i = 0; i < 8; ++i)
        customColors[i] = defaultPalette[i];
    for (int i = 8; i < 16; ++i)
        customColors[i] = RGB(255, 255, 255);
}
