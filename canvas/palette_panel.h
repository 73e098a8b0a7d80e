// The floating palette panel of a paint session: eight colour cells, a pen-size box, eraser, save and
// close buttons under a title bar. It is drawn inside the paint window (it is no window of its own),
// holds the authoritative tool selection, and lives for the whole program run so that its place,
// colours and selection carry over between sessions.
#pragma once
#include <windows.h>

#include <cstdint>

enum class PanelPart { None = 0, TitleBar = 1, SizeBox = 2, ColorCell = 3, EraserButton = 4, SaveButton = 5, CloseButton = 6 };

struct PaletteCell {
    RECT rect;  // panel-relative
    COLORREF color;
    HBRUSH brush;
};

class PalettePanel {
public:
    explicit PalettePanel(WNDPROC notify);
    ~PalettePanel();
    PalettePanel(const PalettePanel&) = delete;
    PalettePanel& operator=(const PalettePanel&) = delete;

    bool contains(POINT p) const;
    // Copies the whole panel onto `view` at `bounds` when it is visible and overlaps `r`.
    void composeOnto(HDC view, const RECT& r) const;
    void showAt(HWND window, POINT p);
    void hide();
    void refresh();
    // Clamps to 1..20 (compared unsigned: 0 gives 1, a negative value 20) and answers the width set.
    int setPenSize(uint32_t n);
    // Below 8 selects that cell and answers true; anything else selects the eraser and answers false.
    bool selectColor(uint32_t i);
    bool setCellColor(uint32_t i, COLORREF c);
    void render();

    // Pointer input, offered before the canvas sees it: the panel takes the presses on itself (the
    // paint window asks `contains` afterwards). It reacts to none yet.
    void onButtonDown(POINT p, int button);
    void onButtonUp(POINT p, int button);
    void onDoubleClick(POINT p, int button);
    void onMouseMove(POINT p);

    bool visible = false;
    HDC panelDC = nullptr;
    HGDIOBJ panelOldBitmap = nullptr;
    HBRUSH frameBrush = nullptr;
    HBRUSH bodyBrush = nullptr;
    HBRUSH titleBrush = nullptr;
    WNDPROC notify;
    HWND owner = nullptr;
    int pressButton = 0;
    PanelPart pressPart = PanelPart::None;
    RECT bounds;
    RECT bodyRect;
    RECT titleRect;
    POINT grabPoint;
    bool colorActive = true;
    int penSize = 5;
    int colorIndex = 0;
    HDC iconDC = nullptr;
    HGDIOBJ iconOldBitmap = nullptr;
    HBRUSH highlightBrush = nullptr;
    RECT sizeBox;
    RECT eraserButton;
    RECT saveButton;
    RECT closeButton;
    int sizeAtPress = 0;
    bool highlighter = false;
    PaletteCell cells[8];

private:
    void notifyRefresh(const RECT* r);
    HBITMAP panelBitmap_ = nullptr;
};
