// Saving the drawing as a 24-bit BMP or a PNG file chosen in the system's Save-as dialog, and
// copying it to the clipboard.
#pragma once
#include <windows.h>

// Writes a width × height picture whose rows are laid out as in the file (bottom row first, each
// padded to four bytes). The file is written under a temporary name in the same folder and moved
// over `path` only once complete, so a failed save leaves an existing file of that name as it was;
// only where no temporary file can be made is it written in place.
// Answers 1 when the file is in place, 0 when nothing was written: a side of zero or less, a picture
// too large for the format, no pixels, or any failing file operation.
int WriteBmp(int width, const char* path, int height, const void* pixels);

// The same picture as a PNG file, by the same route.
int WritePng(int width, const char* path, int height, const void* pixels);

// The Save-as dialog, BMP or PNG, starting from the name in `path` (and the filter that matches it)
// and leaving the chosen one there, with ".png" under the PNG filter. Non-zero when the user
// confirmed.
int AskSavePath(HWND owner, char (&path)[260]);

// Asks for a file name (offering the remembered one) and saves the window's client-sized picture
// from `drawing`, as PNG when the name ends in ".png", else as BMP. Every confirmed name is remembered in the settings, even when the file could not be
// written; then a message box owned by the window says so, with the path and the system's reason.
void SaveDrawing(HWND window, HDC drawing);
void SaveDrawingAs(HWND window, HDC drawing, const char (&path)[260]);

// The same picture as a 24-bit CF_DIB on the clipboard. Waits up to half a second for a clipboard
// that another program holds, then gives up. True when the picture is there.
bool CopyDrawingToClipboard(HWND window, HDC drawing);
