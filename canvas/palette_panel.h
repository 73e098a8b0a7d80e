// The floating palette panel of a paint session: eight colour cells, a pen-size box, eraser, save and
// close buttons under a title bar. It is drawn inside the paint window (it is no window of its own),
// holds the authoritative tool selection, and lives for the whole program run so that its place,
// colours and selection carry over between sessions. Its layout and hit tests are in panel_layout.h;
// it reports every choice by calling `notify` with the paint window's private messages.
#pragma once
#include <windows.h>

#include <cstdint>

#include "canvas/panel_steps.h"

struct PaletteCell {
    RECT rect;  // panel-relative
    COLORREF color;
    HBRUSH brush;
};

// The state its input steps work on (visibility, the tracked press, place, grab point and the tool
// selection) is the PanelState it is built on; this class adds what it draws with.
class PalettePanel : public PanelState {
public:
    explicit PalettePanel(WNDPROC notify);
    ~PalettePanel();
    PalettePanel(const PalettePanel&) = delete;
    PalettePanel& operator=(const PalettePanel&) = delete;

    bool contains(POINT p) const;
    // Copies the whole panel onto `view` at `bounds` when it is visible and overlaps `r` strictly.
    void composeOnto(HDC view, const RECT& r) const;
    // Shows the panel with `grabPoint` under p (no clamping: it may lie partly off the screen), laid
    // out for the monitor there.
    void showAt(HWND window, POINT p);
    // Hides it and forgets a press it was tracking, so that a drag cut short by the end of a session
    // does not go on in the next one.
    void hide();
    void refresh();
    // Clamps to 1..20 (compared unsigned: 0 gives 1, a negative value 20) and answers the width set.
    int setPenSize(uint32_t n);
    // Below 8 selects that cell and answers true; anything else selects the eraser and answers false.
    bool selectColor(uint32_t i);
    bool setCellColor(uint32_t i, COLORREF c);
    // Draws the whole panel into panelDC.
    void render();
    // The same picture into any DC, panel-relative.
    void draw(HDC dc) const;

    // Pointer input, offered before the canvas sees it; points in the paint window's client
    // coordinates, buttons 1 left, 2 right, 4 middle. `heldButtons` are the buttons the message says
    // are down, in the same code.
    void onButtonDown(POINT p, int button);
    void onButtonUp(POINT p, int button);
    void onDoubleClick(POINT p, int button);
    void onMouseMove(POINT p);
    void onButtonsHeld(int heldButtons);

    HDC panelDC = nullptr;
    HGDIOBJ panelOldBitmap = nullptr;
    HBRUSH frameBrush = nullptr;
    HBRUSH bodyBrush = nullptr;
    HBRUSH titleBrush = nullptr;
    WNDPROC notify;
    HWND owner = nullptr;
    RECT bodyRect;
    RECT titleRect;
    HDC iconDC = nullptr;
    HGDIOBJ iconOldBitmap = nullptr;
    HBRUSH highlightBrush = nullptr;
    RECT sizeBox;
    RECT eraserButton;
    RECT saveButton;
    RECT closeButton;
    PaletteCell cells[kCellCount];

private:
    // Rectangles and bitmap for `dpi`; false when the bitmap cannot be made.
    bool layOut();
    void carryOut(const PanelAction& action);
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    HBITMAP panelBitmap_ = nullptr;
};
