// The palette panel on its own: what it draws, and the notifications a sequence of pointer events
// sends to the window procedure it was given, recorded the way they arrive.
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

class Panel : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = Record;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ScrivanePanelOwner";
        RegisterClassExA(&wc);
        owner = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        panel.showAt(owner, {260, 107});  // grabPoint (160,7): the panel spans (100,100)-(420,160)
        journal.clear();
    }
    void TearDown() override { DestroyWindow(owner); }
    // A panel-relative point in client coordinates.
    static POINT At(int x, int y) { return POINT{100 + x, 100 + y}; }

    HWND owner = nullptr;
    PalettePanel panel{Record};
};

TEST_F(Panel, NotificationSequences)
{
    struct Step {
        char what;  // d down, u up, m move, c double-click, h hide and show again
        int button;
        POINT q;    // panel-relative
    };
    struct Case {
        const char* why;
        Step steps[3];
        const char* want;
    } cases[] = {
        {"left press on cell 3: selected, its colour sent, only the panel recomposed",
         {{'d', 1, {120, 30}}, {'u', 1, {120, 30}}}, "T(5,00ff00) Rb"},
        {"right press on cell 2, released over cell 5: dialog for cell 5",
         {{'d', 2, {90, 30}}, {'u', 2, {165, 30}}}, "T(5,0000ff) Rb E(5)"},
        {"right press on cell 2, released outside every cell: no dialog",
         {{'d', 2, {90, 30}}, {'u', 2, {90, 50}}}, "T(5,0000ff) Rb"},
        {"size drag 13 px up from width 5", {{'d', 1, {20, 35}}, {'m', 0, {20, 22}}}, "Rb T(8,000000)"},
        {"size drag 2 px up keeps width 5", {{'d', 1, {20, 35}}, {'m', 0, {20, 33}}}, "Rb T(5,000000)"},
        {"right press on the size box toggles the highlighter", {{'d', 2, {20, 35}}}, "H(1) Rb"},
        {"title drag recomposes everything", {{'d', 1, {100, 5}}, {'m', 0, {150, 50}}}, "Ra"},
        {"right click on the title hides the panel", {{'d', 2, {100, 5}}, {'u', 2, {100, 5}}}, "Rb"},
        {"left press on the eraser", {{'d', 1, {240, 35}}}, "T(0,000000) Rb"},
        {"save pressed and released on it", {{'d', 1, {275, 35}}, {'u', 1, {275, 35}}}, "S"},
        {"save released outside it", {{'d', 1, {275, 35}}, {'u', 1, {275, 50}}}, ""},
        {"close pressed and released on it", {{'d', 1, {300, 35}}, {'u', 1, {300, 35}}}, "X"},
        {"a press on the outline is swallowed, and blocks the next press", {{'d', 1, {0, 30}}, {'d', 2, {120, 30}}}, ""},
        {"a press on the separator row is swallowed", {{'d', 1, {100, 12}}, {'u', 1, {100, 12}}}, ""},
        {"right double-click on the eraser clears", {{'c', 2, {240, 35}}}, "C"},
        {"a drag cut short by hiding does not go on after the next show",
         {{'d', 1, {100, 5}}, {'h', 0, {0, 0}}, {'m', 0, {150, 50}}}, "Rb Ra"},
    };
    for (const Case& c : cases) {
        PalettePanel p(Record);
        p.showAt(owner, {260, 107});
        journal.clear();
        for (const Step& s : c.steps) {
            switch (s.what) {
            case 'd': p.onButtonDown(At(s.q.x, s.q.y), s.button); break;
            case 'u': p.onButtonUp(At(s.q.x, s.q.y), s.button); break;
            case 'm': p.onMouseMove(At(s.q.x, s.q.y)); break;
            case 'c': p.onDoubleClick(At(s.q.x, s.q.y), s.button); break;
            case 'h': p.hide(); p.showAt(owner, {260, 107}); break;
            }
        }
        EXPECT_EQ(journal, c.want) << c.why;
    }
}

TEST_F(Panel, TitleClickRemembersWhereToComeBack)
{
    panel.onButtonDown(At(40, 6), 2);
    panel.onButtonUp(At(40, 6), 2);
    EXPECT_FALSE(panel.visible);
    panel.showAt(owner, {500, 300});
    EXPECT_EQ(panel.bounds.left, 460) << "the clicked title spot comes back under the pointer";
    EXPECT_EQ(panel.bounds.top, 294);
    panel.showAt(owner, {10, 10});
    EXPECT_EQ(panel.bounds.left, -30) << "no clamping near the screen's edge";
}

// Width of the size box's preview along its middle row, in pixels that are not the body colour.
int PreviewWidth(HDC dc)
{
    int n = 0;
    for (int x = 10; x < 30; ++x)
        n += GetPixel(dc, x, 35) != RGB(224, 224, 240);
    return n;
}

TEST_F(Panel, RendersSelectionRingsAndThePreview)
{
    constexpr COLORREF kOrange = RGB(255, 128, 0), kBody = RGB(224, 224, 240);
    HDC dc = panel.panelDC;
    panel.selectColor(3);
    const RECT cell = panel.cells[3].rect;
    EXPECT_EQ(GetPixel(dc, cell.left - 3, cell.top), kOrange) << "ring outside the selected cell";
    EXPECT_EQ(GetPixel(dc, cell.left - 1, cell.top), RGB(0, 0, 0)) << "its black frame";
    EXPECT_EQ(GetPixel(dc, cell.left, cell.top), RGB(0, 255, 0)) << "the cell";
    EXPECT_EQ(GetPixel(dc, panel.cells[2].rect.left - 3, cell.top), kBody) << "no ring on the others";
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0)) << "outline";
    EXPECT_EQ(GetPixel(dc, 100, 12), RGB(0, 0, 0)) << "separator row";
    EXPECT_EQ(GetPixel(dc, 100, 5), RGB(64, 128, 255)) << "title bar";

    for (int size : {1, 2, 5, 20}) {
        panel.setPenSize(size);
        EXPECT_EQ(PreviewWidth(dc), size + 2 > 20 ? 20 : size + 2) << "a disc of the width plus 2, width " << size;
    }
    panel.highlighter = true;
    panel.render();
    EXPECT_EQ(PreviewWidth(dc), 3) << "the highlighter's bar is 3 wide whatever the width";
    EXPECT_EQ(GetPixel(dc, 20, 27), RGB(0, 255, 0)) << "18 high";

    panel.selectColor(8);
    EXPECT_EQ(PreviewWidth(dc), 0) << "the eraser leaves the box empty";
    EXPECT_EQ(GetPixel(dc, panel.eraserButton.left - 3, panel.eraserButton.top), kOrange) << "ring on the eraser";
    EXPECT_EQ(GetPixel(dc, cell.left - 3, cell.top), kBody) << "and on no cell";
    EXPECT_EQ(panel.colorIndex, 3) << "the eraser keeps the cell index";
}

}  // namespace
