// The palette panel's steps, its hit tests and size drag at each scale, and the pen keys. Points come
// from the layout's own rectangles: where a part sits is the layout's business, what a press does is ours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "canvas/panel_layout.h"
#include "canvas/panel_steps.h"
#include "session/pen_keys.h"

namespace {

POINT Mid(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Events on a panel at (100,100), points panel-relative (Lost: the buttons held); effects, end state.
TEST(PanelSteps, WhatEachEventAsksFor)
{
    using E = PanelEffect;
    enum Kind { Down, Release, Move, Double, Lost };
    struct Step { Kind kind; int button; POINT q; };
    const POINT title = Mid(TitleRect()), size = Mid(SizeBoxRect()), save = Mid(SaveButtonRect());
    const POINT eraser = Mid(EraserButtonRect()), cell2 = Mid(CellRect(2)), drag = {150, 50};
    const POINT up13 = {size.x, size.y - 13}, up40 = {size.x, size.y - 40};
    const std::vector<E> chosen = {E::Render, E::SetTool, E::RefreshBounds}, end = {E::EndPress}, none = {};
    const std::vector<E> picked = {E::Render, E::SetTool, E::RefreshBounds, E::EndPress}, hidden = {E::EndPress, E::RefreshBounds};
    const struct { std::vector<Step> steps; std::vector<E> want; int size, press; bool visible; const char* why; } cases[] = {
        {{{Down, 1, Mid(CellRect(3))}}, chosen, 5, 1, true, "a cell: ring, tool, then the panel's rectangle"},
        {{{Down, 2, cell2}, {Release, 2, Mid(CellRect(5))}}, {E::Render, E::SetTool, E::RefreshBounds, E::EditColor,
         E::EndPress}, 5, 0, true, "right press on cell 2, released over cell 5: the dialog for cell 5"},
        {{{Down, 2, cell2}, {Release, 2, title}}, picked, 5, 0, true, "released off every cell: no dialog"},
        {{{Down, 1, title}, {Move, 0, drag}}, {E::RefreshWhole}, 5, 1, true, "a title drag recomposes everything"},
        {{{Down, 2, title}, {Release, 2, title}}, hidden, 5, 0, false, "a right click on the title hides, press first"},
        {{{Down, 1, save}, {Release, 1, title}}, end, 5, 0, true, "save released outside it saves nothing"},
        {{{Down, 1, save}, {Release, 1, save}}, {E::Save, E::EndPress}, 5, 0, true, "save released over it"},
        {{{Down, 1, {0, 30}}, {Down, 2, title}}, none, 5, 1, true, "a press on the outline is swallowed, blocks the next"},
        {{{Down, 1, save}, {Release, 2, save}}, none, 5, 1, true, "the release of another button is ignored"},
        {{{Double, 2, eraser}}, {E::Clear}, 5, 0, true, "right double-click on the eraser clears, the panel stays"},
        {{{Double, 1, cell2}}, hidden, 5, 0, false, "left double-click on a cell hides"},
        {{{Down, 1, size}, {Move, 0, up13}}, {E::Render, E::RefreshBounds, E::SetTool}, 8, 1, true, "13 up: 8"},
        {{{Down, 2, size}, {Release, 2, size}, {Down, 1, size}, {Move, 0, up40}},
         {E::Render, E::Highlight, E::RefreshBounds, E::EndPress}, 5, 1, true, "with the highlighter no size drag"},
        {{{Down, 1, eraser}, {Release, 1, eraser}, {Down, 2, size}}, picked, 5, 2, true, "no size box with the eraser"},
        {{{Down, 1, title}, {Lost, 0, {}}, {Move, 0, drag}}, end, 5, 0, true, "a lost release ends a title drag"},
        {{{Down, 1, size}, {Lost, 2, {}}, {Move, 0, up40}}, end, 5, 0, true, "...and a size drag"},
        {{{Down, 1, title}, {Lost, 1, {}}}, none, 5, 1, true, "a held button keeps the press"}};
    for (const auto& c : cases) {
        PanelState s;
        s.visible = true, s.bounds = {100, 100, 100 + kPanelWidth, 100 + kPanelHeight};
        std::vector<E> got;
        for (const Step& step : c.steps) {
            const POINT at = {100 + step.q.x, 100 + step.q.y};
            const PanelAction a = step.kind == Down      ? PanelButtonDown(s, at, step.button)
                                  : step.kind == Release ? PanelButtonUp(s, at, step.button)
                                  : step.kind == Move    ? PanelMouseMove(s, at)
                                  : step.kind == Double  ? PanelDoubleClick(s, at, step.button)
                                                         : PanelReleaseLost(s, step.button);
            for (E e : a.effects)  // EndPress carried out as the panel does
                s.pressButton = e == E::EndPress ? 0 : s.pressButton, e != E::None ? got.push_back(e) : void();
            EXPECT_EQ(a.cell, a.effects[0] == E::EditColor ? 5 : 0) << c.why;
        }
        EXPECT_TRUE(got == c.want && s.penSize == c.size && s.pressButton == c.press && s.visible == c.visible) << c.why;
    }
}

// At 96, 144 and 192 DPI each part answers on its first and last pixel and nowhere just outside, lies
// inside the outline, and sits within a pixel of where its place at 96 DPI scaled would put it.
TEST(PanelLayout, EveryPartHitOnItsEdgesAndNotBeyondAtEachScale)
{
    using P = PanelPart;
    struct Part { RECT r; PanelPart part; int cell; };
    const auto parts = [](int dpi) {
        std::vector<Part> all = {{TitleRect(dpi), P::TitleBar, -1}, {SizeBoxRect(dpi), P::SizeBox, -1},
            {EraserButtonRect(dpi), P::EraserButton, -1}, {SaveButtonRect(dpi), P::SaveButton, -1},
            {CloseButtonRect(dpi), P::CloseButton, -1}};
        for (int k = 0; k < kCellCount; ++k)
            all.push_back({CellRect(k, dpi), P::ColorCell, k});
        return all;
    };
    for (int dpi : {96, 144, 192}) {
        const int line = PanelScaled(1, dpi), w = PanelSize(dpi).x, h = PanelSize(dpi).y;
        for (size_t n = 0; n < parts(dpi).size(); ++n) {
            const auto [r, part, index] = parts(dpi)[n];
            const RECT at96 = parts(96)[n].r;
            EXPECT_TRUE(r.left >= line && r.top >= line && r.right <= w - line && r.bottom <= h - line) << dpi << " " << n;
            EXPECT_TRUE(std::abs(r.left - at96.left * dpi / 96) <= 1 && std::abs(r.bottom - at96.bottom * dpi / 96) <= 1)
                << dpi << " " << n << ": not where it is at 96 DPI, scaled";
            int i = 0, cell = -1;  // the first two inside
            for (const POINT& q : {POINT{r.left, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.top},
                                   {r.right, r.bottom - 1}, {r.left, r.top - 1}, {r.right - 1, r.bottom}})
                EXPECT_EQ(HitPanelPart(q, true, &cell, dpi) == part && cell == index, i++ < 2) << dpi << ": " << q.x << "," << q.y;
        }
    }
    // The size drag: a pixel a width per four upward, truncated toward zero, kept in 1..20 (compared unsigned).
    for (const auto& [up, want] : {std::pair{3, 5}, {-3, 5}, {-100, 1}, {100, 20}})
        EXPECT_EQ(ClampPenSize(static_cast<uint32_t>(DraggedPenSize(5, 100, 100 - up))), want) << up;
    EXPECT_TRUE(ClampPenSize(0) == 1 && ClampPenSize(~0u) == 20) << "a negative width";
}

// On monitors of one scale after another, always with the same spot under the pointer (1000,500).
TEST(PanelLayout, ShownOnEachMonitorWithTheSameSpotUnderThePointer)
{
    const std::pair<int, std::string> cases[] = {{192, "640x120 320,14 1000,500"}, {144, "480x90 240,11 1000,500"},
                                                 {96, "320x60 160,7 1000,500"}, {72, "320x60 160,7 1000,500"}};  // 72: as at 100 %
    PanelState s;
    for (const auto& [dpi, want] : cases) {
        PanelShowAt(s, {1000, 500}, dpi);
        const RECT& b = s.bounds;
        EXPECT_EQ(std::to_string(b.right - b.left) + "x" + std::to_string(b.bottom - b.top) + " " + std::to_string(s.grabPoint.x) +
                      "," + std::to_string(s.grabPoint.y) + " " + std::to_string(b.left + s.grabPoint.x) + "," +
                      std::to_string(b.top + s.grabPoint.y), want);
    }
    PanelShowAt(s, {1000, 500}, 192);
    PanelButtonDown(s, {s.bounds.left + 40, s.bounds.top + 70}, 1);
    PanelMouseMove(s, {s.bounds.left + 40, s.bounds.top + 57});
    EXPECT_EQ(s.penSize, 8) << "the size box at 200 %: 13 screen pixels up widen by 3, as at 100 %";
}

TEST(PenKeys, TheRowOfNineWithExactlyItsModifiers)
{
    constexpr uint32_t kF1 = 0x70, kCtrl1 = '1' | (2 << 8);
    const struct { uint32_t row, key, modifiers; int want; const char* why; } cases[] = {
        {kF1, 0x72, 0, 2, "F3 is cell 2"}, {kF1, 0x78, 0, 8, "F9 is the eraser"}, {kF1, 0x79, 0, -1, "F10 is past it"},
        {kF1, 0x6F, 0, -1, "below the base wraps"}, {kF1, 0x70, 2, -1, "Ctrl+F1 when no modifier is configured"},
        {kCtrl1, '9', 2, 8, "Ctrl+9"}, {kCtrl1, '1', 0, -1, "1 alone"}, {kCtrl1, '1', 3, -1, "Shift+Ctrl+1"},
        {'1' | (0x0A << 8), '1', 2, -1, "the extended-key flag never matches"}};
    for (const auto& c : cases)
        EXPECT_EQ(PenKeyIndex(c.key, c.row, c.modifiers), c.want) << c.why;
    EXPECT_TRUE(PenKeySwitchesToolKind(8, true) && PenKeySwitchesToolKind(3, false) && !PenKeySwitchesToolKind(3, true))
        << "a stroke keeps its kind of tool, but takes another colour";
}

}  // namespace
