// The shipped program is 32-bit: hold the system records it fills to their 32-bit sizes, so that a
// header or packing change shows up at compile time rather than as a silently failing call.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstddef>
#include <shellapi.h>

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(WNDCLASSEXA) == 48, "window-class record");
// The headers spell NOTIFYICONDATAA_V2_SIZE and OPENFILENAME_SIZE_VERSION_400A with casts that are
// no constant expressions; these are the same offsets.
static_assert(offsetof(NOTIFYICONDATAA, guidItem) == 488, "notify-icon record with a 128-character tip");
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76, "save-dialog record");
static_assert(sizeof(CHOOSECOLORA) == 36, "colour-dialog record");
static_assert(sizeof(MONITORINFO) == 40 && sizeof(MONITORINFOEXA) == 72, "monitor information records");
static_assert(sizeof(INITCOMMONCONTROLSEX) == 8, "common-controls record");
static_assert(sizeof(BITMAPINFOHEADER) == 40 && sizeof(BITMAPFILEHEADER) == 14, "bitmap headers");
static_assert(sizeof(INPUT) == 28, "synthetic input record");
#endif
