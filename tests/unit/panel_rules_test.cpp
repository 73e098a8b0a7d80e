// The palette panel's steps, hit tests and size drag, and the pen keys. Points come from the layout's
// own rectangles: where a part sits is the layout's business, what a press on it does is ours.
#include <gtest/gtest.h>

#include <vector>

#include "canvas/panel_layout.h"
#include "canvas/panel_steps.h"
#include "canvas/rect.h"
#include "session/pen_keys.h"

namespace {

POINT Mid(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
POINT Up(POINT p, int by) { return {p.x, p.y - by}; }

// Pointer events on a panel shown at (100,100), points panel-relative; what the steps ask for, in
// order, and where the state ends.
TEST(PanelSteps, WhatEachEventAsksFor)
{
    using E = PanelEffect;
    enum Kind { Down, Release, Move, Double, Lost };
    struct Step {
        Kind kind;
        int button;  // for Lost: the buttons still held
        POINT q;
    };
    const POINT title = Mid(TitleRect()), size = Mid(SizeBoxRect()), save = Mid(SaveButtonRect());
    const POINT eraser = Mid(EraserButtonRect()), close = Mid(CloseButtonRect()), cell2 = Mid(CellRect(2));
    const std::vector<E> chosen = {E::Render, E::SetTool, E::RefreshBounds}, end = {E::EndPress};
    const std::vector<E> hidden = {E::EndPress, E::RefreshBounds}, none = {};
    auto then = [](std::vector<E> a, const std::vector<E>& b) { return a.insert(a.end(), b.begin(), b.end()), a; };
    const struct { std::vector<Step> steps; std::vector<E> want; int penSize, pressButton; bool visible; const char* why; } cases[] = {
        {{{Down, 1, Mid(CellRect(3))}}, chosen, 5, 1, true, "a cell: ring, tool, then the panel's rectangle"},
        {{{Down, 2, cell2}, {Release, 2, Mid(CellRect(5))}}, then(chosen, {E::EditColor, E::EndPress}), 5, 0, true,
         "right press on cell 2, released over cell 5: the dialog for cell 5"},
        {{{Down, 2, cell2}, {Release, 2, title}}, then(chosen, end), 5, 0, true, "released off every cell: no dialog"},
        {{{Down, 1, title}, {Move, 0, {150, 50}}}, {E::RefreshWhole}, 5, 1, true, "a title drag recomposes everything"},
        {{{Down, 2, title}, {Release, 2, title}}, hidden, 5, 0, false, "a right click on the title hides, press forgotten first"},
        {{{Down, 1, save}, {Release, 1, title}}, end, 5, 0, true, "save released outside it saves nothing"},
        {{{Down, 1, save}, {Release, 1, save}}, {E::Save, E::EndPress}, 5, 0, true, "save released over it"},
        {{{Down, 1, close}, {Release, 1, close}}, {E::Close, E::EndPress}, 5, 0, true, "close released over it"},
        {{{Down, 1, {0, 30}}, {Down, 2, title}}, none, 5, 1, true, "a press on the outline is swallowed, blocks the next"},
        {{{Down, 1, save}, {Release, 2, save}}, none, 5, 1, true, "the release of another button is ignored"},
        {{{Double, 2, eraser}}, {E::Clear}, 5, 0, true, "right double-click on the eraser clears, the panel stays"},
        {{{Double, 1, cell2}}, hidden, 5, 0, false, "left double-click on a cell hides"},
        {{{Down, 1, size}, {Move, 0, Up(size, 13)}}, {E::Render, E::RefreshBounds, E::SetTool}, 8, 1, true, "13 up: 5 -> 8"},
        {{{Down, 2, size}, {Release, 2, size}, {Down, 1, size}, {Move, 0, Up(size, 40)}},
         {E::Render, E::Highlight, E::RefreshBounds, E::EndPress}, 5, 1, true, "with the highlighter no size drag"},
        {{{Down, 1, eraser}, {Release, 1, eraser}, {Down, 2, size}}, then(chosen, end), 5, 2, true, "no size box with the eraser"},
        {{{Down, 1, title}, {Lost, 0, {}}, {Move, 0, {150, 50}}}, end, 5, 0, true, "a lost release ends a title drag"},
        {{{Down, 1, size}, {Lost, 2, {}}, {Move, 0, Up(size, 40)}}, end, 5, 0, true, "...and a size drag"},
        {{{Down, 1, title}, {Lost, 1, {}}}, none, 5, 1, true, "a held button keeps the press"}};
    for (const auto& c : cases) {
        PanelState s;
        s.visible = true;
        s.bounds = {100, 100, 100 + kPanelWidth, 100 + kPanelHeight};
        std::vector<E> got;
        for (const Step& step : c.steps) {
            const POINT at = {100 + step.q.x, 100 + step.q.y};
            const PanelAction a = step.kind == Down      ? PanelButtonDown(s, at, step.button)
                                  : step.kind == Release ? PanelButtonUp(s, at, step.button)
                                  : step.kind == Move    ? PanelMouseMove(s, at)
                                  : step.kind == Double  ? PanelDoubleClick(s, at, step.button)
                                                         : PanelReleaseLost(s, step.button);
            for (E e : a.effects) {
                s.pressButton = e == E::EndPress ? 0 : s.pressButton;  // as the panel carries it out
                if (e != E::None)
                    got.push_back(e);
            }
            EXPECT_EQ(a.cell, a.effects[0] == E::EditColor ? 5 : 0) << c.why;
        }
        EXPECT_TRUE(got == c.want && s.penSize == c.penSize && s.pressButton == c.pressButton && s.visible == c.visible)
            << c.why;
    }
}

// Each part answers on its first and last pixel and nowhere just outside; all lie inside the outline.
TEST(PanelLayout, EveryPartHitOnItsEdgesAndNotBeyond)
{
    struct Part { RECT r; PanelPart part; int cell; };
    std::vector<Part> parts = {{TitleRect(), PanelPart::TitleBar, -1}, {SizeBoxRect(), PanelPart::SizeBox, -1},
                               {EraserButtonRect(), PanelPart::EraserButton, -1},
                               {SaveButtonRect(), PanelPart::SaveButton, -1}, {CloseButtonRect(), PanelPart::CloseButton, -1}};
    for (int k = 0; k < kCellCount; ++k)
        parts.push_back({CellRect(k), PanelPart::ColorCell, k});
    for (const auto& [r, part, index] : parts) {
        EXPECT_TRUE(r.left >= 1 && r.top >= 1 && r.right < kPanelWidth && r.bottom < kPanelHeight) << int(part);
        for (const POINT& q : {POINT{r.left, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.top}, {r.right, r.bottom - 1},
                               {r.left, r.top - 1}, {r.right - 1, r.bottom}}) {
            const bool inside = RectContains(r, q);  // the first two
            int cell = -1;
            EXPECT_EQ(HitPanelPart(q, true, &cell) == part && cell == index, inside) << q.x << "," << q.y;
        }
    }
    int cell;
    EXPECT_EQ(HitPanelPart(Mid(SizeBoxRect()), false, &cell), PanelPart::None) << "no size box with the eraser";
}

TEST(PanelLayout, SizeDragWidensOnePixelPerFourUpward)
{
    const struct { int up, want; const char* why; } cases[] = {
        {13, 8, "13 / 4 = 3"}, {3, 5, "3 up changes nothing"}, {-3, 5, "3 down truncates toward zero"},
        {-100, 1, "stops at 1"}, {100, 20, "stops at 20"}};
    for (const auto& c : cases)
        EXPECT_EQ(ClampPenSize(static_cast<uint32_t>(DraggedPenSize(5, 100, 100 - c.up))), c.want) << c.why;
    EXPECT_EQ(ClampPenSize(0), 1);
    EXPECT_EQ(ClampPenSize(static_cast<uint32_t>(-1)), 20) << "a negative width, compared unsigned";
}

TEST(PenKeys, TheRowOfNineWithExactlyItsModifiers)
{
    constexpr uint32_t kF1 = 0x70, kCtrl1 = '1' | (2 << 8);
    const struct { uint32_t row, key, modifiers; int want; const char* why; } cases[] = {
        {kF1, 0x72, 0, 2, "F3 is cell 2"}, {kF1, 0x78, 0, 8, "F9 is the eraser"}, {kF1, 0x79, 0, -1, "F10 is past the row"},
        {kF1, 0x6F, 0, -1, "below the base wraps"}, {kF1, 0x70, 2, -1, "Ctrl+F1 when no modifier is configured"},
        {kCtrl1, '9', 2, 8, "Ctrl+9"}, {kCtrl1, '1', 0, -1, "1 alone"}, {kCtrl1, '1', 3, -1, "Shift+Ctrl+1"},
        {'1' | (0x0A << 8), '1', 2, -1, "the extended-key flag never matches"}};
    for (const auto& c : cases)
        EXPECT_EQ(PenKeyIndex(c.key, c.row, c.modifiers), c.want) << c.why;
    EXPECT_TRUE(PenKeySwitchesToolKind(8, true) && PenKeySwitchesToolKind(3, false)) << "a stroke keeps its kind of tool";
    EXPECT_FALSE(PenKeySwitchesToolKind(3, true)) << "but takes another colour";
}

}  // namespace
