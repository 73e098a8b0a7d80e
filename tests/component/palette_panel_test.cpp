// The palette panel on its own: what it draws, and the notifications a sequence of pointer events
// sends to the window procedure it was given, recorded the way they arrive. Picking a colour, the
// size drag, the highlighter, save and close as a user works them: tests/e2e/drawing.sh.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "canvas/palette_panel.h"
#include "shell/messages.h"

namespace {

std::string journal;

// Notifications as text: Rb / Ra refresh of the bounds / of everything, T(width,colour), H(on),
// E(cell), S save, C clear, X close.
LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    char entry[40] = "";
    switch (message) {
    case PWM_REFRESH: std::snprintf(entry, sizeof(entry), lParam ? "Rb" : "Ra"); break;
    case PWM_SETTOOL: std::snprintf(entry, sizeof(entry), "T(%u,%06lx)", unsigned(wParam), static_cast<unsigned long>(lParam)); break;
    case PWM_SETHIGHLIGHT: std::snprintf(entry, sizeof(entry), "H(%u)", unsigned(wParam)); break;
    case PWM_EDITCOLOR: std::snprintf(entry, sizeof(entry), "E(%u)", unsigned(wParam)); break;
    case PWM_SAVEBITMAP: std::snprintf(entry, sizeof(entry), "S"); break;
    case PWM_CLEAR: std::snprintf(entry, sizeof(entry), "C"); break;
    case WM_CLOSE: std::snprintf(entry, sizeof(entry), "X"); break;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
    journal += (journal.empty() ? "" : " ") + std::string(entry);
    return 0;
}

// A panel shown with its grab point (160,7) at (260,107): it spans (100,100)-(420,160).
struct Panel : PalettePanel {
    Panel() : PalettePanel(Record)
    {
        WNDCLASSA wc = {0, Record, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr, "PanelOwner"};
        RegisterClassA(&wc);
        window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        showAt(window, {260, 107});
        journal.clear();
    }
    ~Panel() { DestroyWindow(window); }
    HWND window;
};

TEST(PalettePanel, NotificationSequences)
{
    // Steps, at panel-relative points: d down, u up, m move, c double-click, h hide and show again;
    // buttons 1 left, 2 right.
    struct Step { char what; int button; POINT q; };
    const struct { const char* why; Step steps[3]; const char* want; } cases[] = {
        {"right press on cell 2, released over cell 5: dialog for cell 5",
         {{'d', 2, {90, 30}}, {'u', 2, {165, 30}}}, "T(5,0000ff) Rb E(5)"},
        {"right press on cell 2, released outside every cell: no dialog",
         {{'d', 2, {90, 30}}, {'u', 2, {90, 50}}}, "T(5,0000ff) Rb"},
        {"title drag recomposes everything", {{'d', 1, {100, 5}}, {'m', 0, {150, 50}}}, "Ra"},
        {"right click on the title hides the panel", {{'d', 2, {100, 5}}, {'u', 2, {100, 5}}}, "Rb"},
        {"left press on the eraser", {{'d', 1, {240, 35}}}, "T(0,000000) Rb"},
        {"save released outside it", {{'d', 1, {275, 35}}, {'u', 1, {275, 50}}}, ""},
        {"a press on the outline is swallowed, and blocks the next press", {{'d', 1, {0, 30}}, {'d', 2, {120, 30}}}, ""},
        {"a press on the separator row is swallowed", {{'d', 1, {100, 12}}, {'u', 1, {100, 12}}}, ""},
        {"right double-click on the eraser clears", {{'c', 2, {240, 35}}}, "C"},
        {"a drag cut short by hiding does not go on after the next show",
         {{'d', 1, {100, 5}}, {'h', 0, {0, 0}}, {'m', 0, {150, 50}}}, "Rb Ra"},
    };
    for (const auto& c : cases) {
        Panel p;
        for (const Step& s : c.steps) {
            const POINT at = {100 + s.q.x, 100 + s.q.y};
            switch (s.what) {
            case 'd': p.onButtonDown(at, s.button); break;
            case 'u': p.onButtonUp(at, s.button); break;
            case 'm': p.onMouseMove(at); break;
            case 'c': p.onDoubleClick(at, s.button); break;
            case 'h': p.hide(); p.showAt(p.window, {260, 107}); break;
            }
        }
        EXPECT_EQ(journal, c.want) << c.why;
    }
}

TEST(PalettePanel, ComesBackWithTheClickedTitleSpotUnderThePointer)
{
    Panel p;
    p.onButtonDown({140, 106}, 2);
    p.onButtonUp({140, 106}, 2);
    EXPECT_FALSE(p.visible);
    p.showAt(p.window, {500, 300});
    EXPECT_EQ(std::to_string(p.bounds.left) + "," + std::to_string(p.bounds.top), "460,294");
    p.showAt(p.window, {10, 10});
    EXPECT_EQ(p.bounds.left, -30) << "no clamping near the screen's edge";
}

TEST(PalettePanel, RendersSelectionRingsAndThePreview)
{
    constexpr COLORREF kOrange = RGB(255, 128, 0), kBody = RGB(224, 224, 240);
    Panel p;
    HDC dc = p.panelDC;
    // Width of the size box's preview along its middle row, in pixels that are not the body colour.
    const auto preview = [dc, kBody] {
        int n = 0;
        for (int x = 10; x < 30; ++x)
            n += GetPixel(dc, x, 35) != kBody;
        return n;
    };
    p.selectColor(3);
    const RECT cell = p.cells[3].rect;
    EXPECT_EQ(GetPixel(dc, cell.left - 3, cell.top), kOrange) << "ring outside the selected cell";
    EXPECT_EQ(GetPixel(dc, cell.left - 1, cell.top), RGB(0, 0, 0)) << "its black frame";
    EXPECT_EQ(GetPixel(dc, cell.left, cell.top), RGB(0, 255, 0)) << "the cell";
    EXPECT_EQ(GetPixel(dc, p.cells[2].rect.left - 3, cell.top), kBody) << "no ring on the others";
    EXPECT_EQ(GetPixel(dc, 0, 0) | GetPixel(dc, 100, 12), RGB(0, 0, 0)) << "outline and separator row";
    EXPECT_EQ(GetPixel(dc, 100, 5), RGB(64, 128, 255)) << "title bar";
    for (int size : {1, 2, 5, 20}) {
        p.setPenSize(size);
        EXPECT_EQ(preview(), size + 2 > 20 ? 20 : size + 2) << "a disc of the width plus 2, width " << size;
    }
    p.highlighter = true;
    p.render();
    EXPECT_EQ(preview(), 3) << "the highlighter's bar is 3 wide whatever the width";
    EXPECT_EQ(GetPixel(dc, 20, 27), RGB(0, 255, 0)) << "18 high";
    p.selectColor(8);
    EXPECT_EQ(preview(), 0) << "the eraser leaves the box empty";
    EXPECT_EQ(GetPixel(dc, p.eraserButton.left - 3, p.eraserButton.top), kOrange) << "ring on the eraser";
    EXPECT_EQ(GetPixel(dc, cell.left - 3, cell.top), kBody) << "and on no cell";
    EXPECT_EQ(p.colorIndex, 3) << "the eraser keeps the cell index";
}

}  // namespace
