#include "shell/option_controls.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "resources/resource.h"
#include "shell/base/default_palette.h"
#include "shell/base/platform.h"
#include "shell/base/settings.h"
#include "shell/exe_path.h"
#include "shell/hook_module.h"
#include "shell/launch_rules.h"

namespace {

constexpr UINT kBaseDpi = USER_DEFAULT_SCREEN_DPI;

constexpr DWORD kCheckBoxStyle = BS_AUTOCHECKBOX | BS_VCENTER;
constexpr DWORD kPushButtonStyle = BS_PUSHBUTTON | BS_VCENTER;
constexpr DWORD kHotKeyStyle = 0x0880;
constexpr DWORD kDelayEditStyle = ES_RIGHT | ES_AUTOHSCROLL;
constexpr DWORD kUpDownStyle = UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
static_assert(kCheckBoxStyle == 0x0C03 && kPushButtonStyle == 0x0C00 && kDelayEditStyle == 0x82 && kUpDownStyle == 0xA2,
              "the controls' styles");

struct ControlSpec {
    int id;
    const char* className;
    LPCSTR text;  // a string id (MAKEINTRESOURCEA), a literal, or none
    DWORD style;
    int x, y, width, height;  // client pixels at 96 DPI
    DWORD exStyle;
};

#define STRING_ID(id) MAKEINTRESOURCEA(id)
// In creation order, which is also the order of the window's children.
const ControlSpec kControls[] = {
    {kTaskTrayBox, "BUTTON", STRING_ID(IDS_TASKTRAY), kCheckBoxStyle, 10, 10, 130, 20, 0},
    {kMouseHookBox, "BUTTON", STRING_ID(IDS_MOUSE_HOOK), kCheckBoxStyle, 150, 10, 130, 20, 0},
    {kHotKeyBox, "BUTTON", STRING_ID(IDS_HOTKEY), kCheckBoxStyle, 30, 35, 110, 20, 0},
    {kLaunchKeyEdit, HOTKEY_CLASSA, nullptr, kHotKeyStyle, 150, 36, 140, 18, WS_EX_CLIENTEDGE},
    {kDelayBox, "BUTTON", STRING_ID(IDS_DELAYED_LAUNCH), kCheckBoxStyle, 10, 60, 130, 20, 0},
    {kDelayEdit, "EDIT", nullptr, kDelayEditStyle, 150, 61, 30, 18, WS_EX_CLIENTEDGE},
    {kDelayUpDown, UPDOWN_CLASSA, nullptr, kUpDownStyle, 180, 61, 10, 18, 0},
    {kPenKeyBox, "BUTTON", STRING_ID(IDS_SELECT_PEN_BY), kCheckBoxStyle, 10, 85, 130, 20, 0},
    {kPenKeyEdit, HOTKEY_CLASSA, nullptr, kHotKeyStyle, 150, 86, 140, 18, WS_EX_CLIENTEDGE},
    {kRememberPaletteBox, "BUTTON", STRING_ID(IDS_REMEMBER_PALETTE), kCheckBoxStyle, 10, 110, 130, 20, 0},
    {kResetButton, "BUTTON", STRING_ID(IDS_RESET), kPushButtonStyle, 150, 109, 60, 22, 0},
    {kRememberLastPenBox, "BUTTON", STRING_ID(IDS_REMEMBER_LAST_PEN), kCheckBoxStyle, 10, 135, 130, 20, 0},
    {kRememberPenSizeBox, "BUTTON", STRING_ID(IDS_REMEMBER_PEN_SIZE), kCheckBoxStyle, 150, 135, 130, 20, 0},
    {kIncludeCursorBox, "BUTTON", STRING_ID(IDS_INCLUDE_CURSOR), kCheckBoxStyle, 10, 160, 130, 20, 0},
    {kViaClipboardBox, "BUTTON", STRING_ID(IDS_VIA_CLIPBOARD), kCheckBoxStyle, 150, 160, 110, 20, 0},
    {kHelpButton, "BUTTON", "?", kPushButtonStyle, 268, 159, 22, 22, 0},
};
#undef STRING_ID
static_assert(std::size(kControls) == kHelpButton - kTaskTrayBox + 1, "one row per control, in id order");

// The option bit behind each check box.
const struct {
    int id;
    uint32_t bit;
} kCheckBoxBits[] = {
    {kTaskTrayBox, OPT_TASKTRAY},
    {kMouseHookBox, OPT_MOUSE_HOOK},
    {kHotKeyBox, OPT_HOTKEY},
    {kDelayBox, OPT_DELAYED_LAUNCH},
    {kPenKeyBox, OPT_SELECT_PEN_BY_KEY},
    {kRememberPaletteBox, OPT_REMEMBER_PALETTE},
    {kRememberLastPenBox, OPT_REMEMBER_LAST_PEN},
    {kRememberPenSizeBox, OPT_REMEMBER_PEN_SIZE},
    {kIncludeCursorBox, OPT_INCLUDE_CURSOR},
    {kViaClipboardBox, OPT_VIA_CLIPBOARD},
};

UINT layoutDpi = kBaseDpi;
HFONT scaledFont;           // null while the stock font serves
WNDPROC launchKeyEditProc;  // the hot-key control's own procedure, replaced by HotKeyEditProc

int Scale(int value, UINT dpi)
{
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kBaseDpi));
}

HWND Control(HWND window, int id)
{
    return GetDlgItem(window, id);
}

bool IsChecked(HWND window, int id)
{
    return SendMessageA(Control(window, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND window, int id, bool checked)
{
    SendMessageA(Control(window, id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Enable(HWND window, int id, bool enabled)
{
    EnableWindow(Control(window, id), enabled);
}

void ShowNumber(HWND window, int id, uint32_t number)
{
    char text[12];
    wsprintfA(text, "%u", number);
    SendMessageA(Control(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// DEFAULT_GUI_FONT is made for the system DPI; a monitor scaled otherwise gets a copy to its scale.
HFONT FontFor(UINT dpi)
{
    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HDC screen = GetDC(nullptr);
    const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    LOGFONTA font;
    if (static_cast<int>(dpi) == systemDpi || systemDpi <= 0 || !GetObjectA(stock, sizeof(font), &font))
        return stock;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), systemDpi);
    HFONT scaled = CreateFontIndirectA(&font);
    return scaled ? scaled : stock;
}

// The controls hold the font they were given; the old scaled one goes only once none uses it.
void KeepFont(HFONT font)
{
    if (scaledFont && scaledFont != font)
        DeleteObject(scaledFont);
    scaledFont = font == GetStockObject(DEFAULT_GUI_FONT) ? nullptr : font;
}

HWND CreateControl(LPCSTR text, DWORD style, HINSTANCE instance, HWND parent, int id, const char* className, int x,
                   int y, int width, int height, DWORD exStyle, HFONT font)
{
    char loaded[80] = {};
    if (text != nullptr && IS_INTRESOURCE(text)) {
        LoadStringA(instance, LOWORD(reinterpret_cast<UINT_PTR>(text)), loaded, sizeof(loaded));
        text = loaded;
    }
    HWND control = CreateWindowExA(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

// Initial states, in the order the option rules give them.
void ShowSettings(HWND window)
{
    const auto on = [](uint32_t bit) { return (Settings.flags & bit) != 0; };
    SetCheck(window, kTaskTrayBox, on(OPT_TASKTRAY));
    SetCheck(window, kMouseHookBox, on(OPT_MOUSE_HOOK));
    SetCheck(window, kHotKeyBox, on(OPT_HOTKEY));
    Enable(window, kMouseHookBox, HookModuleLoaded() && on(OPT_TASKTRAY));
    Enable(window, kHotKeyBox, on(OPT_TASKTRAY));
    Enable(window, kLaunchKeyEdit, on(OPT_HOTKEY));
    SetCheck(window, kDelayBox, on(OPT_DELAYED_LAUNCH));
    // The edit notifies this text like a typed one, so a stored delay outside 1..60 is corrected here.
    ShowNumber(window, kDelayEdit, Settings.launchDelay);
    Enable(window, kDelayUpDown, on(OPT_DELAYED_LAUNCH));
    Enable(window, kDelayEdit, on(OPT_DELAYED_LAUNCH));
    SetCheck(window, kPenKeyBox, on(OPT_SELECT_PEN_BY_KEY));
    Enable(window, kPenKeyEdit, on(OPT_SELECT_PEN_BY_KEY));
    SetCheck(window, kRememberPaletteBox, on(OPT_REMEMBER_PALETTE));
    Enable(window, kResetButton, on(OPT_REMEMBER_PALETTE));
    SetCheck(window, kRememberLastPenBox, on(OPT_REMEMBER_LAST_PEN));
    SetCheck(window, kRememberPenSizeBox, on(OPT_REMEMBER_PEN_SIZE));
    SetCheck(window, kIncludeCursorBox, on(OPT_INCLUDE_CURSOR));
    SetCheck(window, kViaClipboardBox, on(OPT_VIA_CLIPBOARD));
}

void OnCheckBoxClicked(HWND window, int id, uint32_t bit)
{
    const bool checked = IsChecked(window, id);
    Settings.flags = checked ? (Settings.flags | bit) : (Settings.flags & ~bit);
    switch (id) {
    case kTaskTrayBox:
        // The mouse-hook box stays as it is: it depends on the module, not on the tray.
        Enable(window, kHotKeyBox, checked);
        Enable(window, kLaunchKeyEdit, checked && (Settings.flags & OPT_HOTKEY));
        break;
    case kHotKeyBox: Enable(window, kLaunchKeyEdit, checked); break;
    case kDelayBox:
        Enable(window, kDelayUpDown, checked);
        Enable(window, kDelayEdit, checked);
        break;
    case kPenKeyBox: Enable(window, kPenKeyEdit, checked); break;
    case kRememberPaletteBox: Enable(window, kResetButton, checked); break;
    }
}

// Every notification, the edit's own second one after a correction included: that one stores the bound.
void OnDelayEditChanged(HWND edit)
{
    char text[20] = {};
    SendMessageA(edit, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    uint32_t delay = 0;
    if (const char* bound = DelayEditCorrection(text, delay)) {
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(bound));
        // The caret would sit before the bound, and a digit typed next would join it ("5",
        // Backspace, "8" gave "81" and so 60): selected, the bound gives way to what comes next.
        SendMessageA(edit, EM_SETSEL, 0, -1);
    } else
        Settings.launchDelay = delay;
}

void OpenHelpPage(HWND window)
{
    // A path too long for the buffer gives no name rather than a cut one, which could open another file.
    char page[kPathCapacity];
    if (SiblingPath(".htm", page))
        ShellExecuteA(window, "open", page, nullptr, nullptr, SW_SHOWNORMAL);
}

uint32_t HotKeyValue(HWND control)
{
    return static_cast<uint32_t>(SendMessageA(control, HKM_GETHOTKEY, 0, 0)) & 0xFFFF;
}

}  // namespace

void BuildOptionControls(HWND window, HINSTANCE instance)
{
    layoutDpi = kBaseDpi;
    HFONT font = FontFor(layoutDpi);
    KeepFont(font);
    for (const ControlSpec& c : kControls)
        CreateControl(c.text, c.style, instance, window, c.id, c.className, c.x, c.y, c.width, c.height, c.exStyle,
                      font);

    HWND launchKey = Control(window, kLaunchKeyEdit);
    // A key alone, or with only one of Shift, Ctrl and Alt, would be taken from every other program:
    // such an entry becomes Ctrl+Alt+key.
    SendMessageA(launchKey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S | HKCOMB_C | HKCOMB_A,
                 MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendMessageA(launchKey, HKM_SETHOTKEY, Settings.launchHotKey & 0xFFFF, 0);
    launchKeyEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(launchKey, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HotKeyEditProc)));

    HWND upDown = Control(window, kDelayUpDown);
    SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(Control(window, kDelayEdit)), 0);
    // Some up-down controls take a default width of their own when they get a buddy.
    const ControlSpec& arrows = kControls[kDelayUpDown - kTaskTrayBox];
    SetWindowPos(upDown, nullptr, arrows.x, arrows.y, arrows.width, arrows.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(upDown, UDM_SETRANGE, 0, MAKELPARAM(kMaxLaunchDelaySeconds, 1));
    SendMessageA(Control(window, kPenKeyEdit), HKM_SETHOTKEY, Settings.penSelectKey & 0xFFFF, 0);
    ShowSettings(window);
}

void OptionsWindowSize(HWND window, UINT dpi, POINT& outer, POINT& client)
{
    client = POINT{Scale(kOptionsClientWidth, dpi), Scale(kOptionsClientHeight, dpi)};
    RECT r = {0, 0, client.x, client.y};
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    // Windows 10 1607 on: the caption and frame as drawn at that DPI, not at the system's.
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi =
        reinterpret_cast<AdjustForDpiFn>(reinterpret_cast<void*>(Platform.user32Function("AdjustWindowRectExForDpi")));
    if (adjustForDpi)
        adjustForDpi(&r, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    outer = POINT{r.right - r.left, r.bottom - r.top};
}

void ScaleOptionControls(HWND window, UINT dpi)
{
    if (dpi == layoutDpi || dpi == 0)
        return;
    layoutDpi = dpi;
    POINT outer, client;
    OptionsWindowSize(window, dpi, outer, client);
    SetWindowPos(window, nullptr, 0, 0, outer.x, outer.y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HFONT font = FontFor(dpi);
    for (const ControlSpec& c : kControls) {
        HWND control = Control(window, c.id);
        SetWindowPos(control, nullptr, Scale(c.x, dpi), Scale(c.y, dpi), Scale(c.width, dpi), Scale(c.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    KeepFont(font);
}

UINT OptionControlsDpi()
{
    return layoutDpi;
}

void ReleaseOptionControls()
{
    KeepFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    layoutDpi = kBaseDpi;
}

void OnOptionCommand(HWND window, int id, int code)
{
    for (const auto& box : kCheckBoxBits) {
        if (box.id == id) {
            if (code == BN_CLICKED)
                OnCheckBoxClicked(window, id, box.bit);
            return;
        }
    }
    switch (id) {
    case kDelayEdit: OnDelayEditChanged(Control(window, id)); break;
    case kPenKeyEdit: Settings.penSelectKey = HotKeyValue(Control(window, id)); break;
    case kResetButton:
        if (code == BN_CLICKED)
            std::copy(std::begin(defaultPalette), std::end(defaultPalette), Settings.palette);
        break;
    case kHelpButton:
        if (code == BN_CLICKED)
            OpenHelpPage(window);
        break;
    }
}

LRESULT CALLBACK HotKeyEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The system keeps Print Screen's press to itself, so the control cannot make anything of the
    // usual launch key: take it on its release, with whatever modifiers are down. With Alt down the
    // release arrives as WM_SYSKEYUP.
    if ((message == WM_KEYUP || message == WM_SYSKEYUP) && wParam == VK_SNAPSHOT) {
        BYTE keys[256] = {};
        Platform.getKeyboardState(keys);
        Settings.launchHotKey = PrintScreenHotKey(keys);
        SendMessageA(edit, HKM_SETHOTKEY, Settings.launchHotKey, 0);
        return 0;
    }
    // What the control shows while the key is still down, before it reacts to the release.
    if (message == WM_KEYUP)
        Settings.launchHotKey = HotKeyValue(edit);
    return CallWindowProcA(launchKeyEditProc, edit, message, wParam, lParam);
}
