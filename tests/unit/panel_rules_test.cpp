// The palette panel's layout, hit tests and size drag, and the pen keys: plain rules walked at their
// edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/panel_layout.h"
#include "canvas/panel_steps.h"
#include "session/pen_keys.h"
#include "shell/base/hot_key.h"

namespace {

std::string Names(const std::vector<PanelEffect>& effects)
{
    static const char* const kNames[] = {"None",      "Render", "RefreshBounds", "RefreshWhole", "SetTool",  "Highlight",
                                         "EditColor", "Save",   "Clear",         "Close",        "EndPress"};
    std::string out;
    for (PanelEffect e : effects)
        out += std::string(out.empty() ? "" : " ") + kNames[static_cast<int>(e)];
    return out;
}

// Pointer events on a panel shown at (100,100), points panel-relative; what the steps ask for, in
// order, and where the state ends.
TEST(PanelSteps, WhatEachEventAsksFor)
{
    using E = PanelEffect;
    enum Kind { Down, Up, Move, Double, Lost };
    struct Step {
        Kind kind;
        int button;  // for Lost: the buttons still held
        POINT q;
    };
    struct Case {
        const char* why;
        std::vector<Step> steps;
        std::vector<E> want;
        int penSize, pressButton;
        bool visible;
    } cases[] = {
        {"left press on cell 3: ring, tool, then the panel's rectangle",
         {{Down, 1, {114, 30}}}, {E::Render, E::SetTool, E::RefreshBounds}, 5, 1, true},
        {"right press on cell 2, released over cell 5: the dialog for cell 5",
         {{Down, 2, {90, 30}}, {Up, 2, {165, 30}}}, {E::Render, E::SetTool, E::RefreshBounds, E::EditColor, E::EndPress}, 5, 0, true},
        {"released outside every cell: no dialog",
         {{Down, 2, {90, 30}}, {Up, 2, {90, 50}}}, {E::Render, E::SetTool, E::RefreshBounds, E::EndPress}, 5, 0, true},
        {"a title drag recomposes everything", {{Down, 1, {100, 5}}, {Move, 0, {150, 50}}}, {E::RefreshWhole}, 5, 1, true},
        {"a right click on the title hides the panel, press forgotten before the refresh",
         {{Down, 2, {100, 5}}, {Up, 2, {100, 5}}}, {E::EndPress, E::RefreshBounds}, 5, 0, false},
        {"save released outside it saves nothing", {{Down, 1, {275, 35}}, {Up, 1, {275, 50}}}, {E::EndPress}, 5, 0, true},
        {"save released over it", {{Down, 1, {275, 35}}, {Up, 1, {276, 36}}}, {E::Save, E::EndPress}, 5, 0, true},
        {"close released over it", {{Down, 1, {300, 35}}, {Up, 1, {300, 35}}}, {E::Close, E::EndPress}, 5, 0, true},
        {"a press on the outline is swallowed and blocks the next", {{Down, 1, {0, 30}}, {Down, 2, {120, 30}}}, {}, 5, 1, true},
        {"the release of another button is ignored", {{Down, 1, {275, 35}}, {Up, 2, {275, 35}}}, {}, 5, 1, true},
        {"right double-click on the eraser clears, the panel stays", {{Double, 2, {240, 35}}}, {E::Clear}, 5, 0, true},
        {"left double-click on a cell hides", {{Double, 1, {40, 30}}}, {E::EndPress, E::RefreshBounds}, 5, 0, false},
        {"size drag 13 up from 5 gives 8", {{Down, 1, {20, 40}}, {Move, 0, {20, 27}}},
         {E::Render, E::RefreshBounds, E::SetTool}, 8, 1, true},
        {"a size drag with the highlighter changes nothing",
         {{Down, 2, {20, 40}}, {Up, 2, {20, 40}}, {Down, 1, {20, 40}}, {Move, 0, {20, 0}}},
         {E::Render, E::Highlight, E::RefreshBounds, E::EndPress}, 5, 1, true},
        {"with the eraser the size box is no part", {{Down, 1, {240, 35}}, {Up, 1, {240, 35}}, {Down, 2, {20, 40}}},
         {E::Render, E::SetTool, E::RefreshBounds, E::EndPress}, 5, 2, true},
        {"a title drag whose release was lost follows no more",
         {{Down, 1, {100, 5}}, {Lost, 0, {}}, {Move, 0, {150, 50}}}, {E::EndPress}, 5, 0, true},
        {"a size drag whose release was lost leaves the width",
         {{Down, 1, {20, 40}}, {Lost, 2, {}}, {Move, 0, {20, 0}}}, {E::EndPress}, 5, 0, true},
        {"a held button keeps the press", {{Down, 1, {100, 5}}, {Lost, 1, {}}}, {}, 5, 1, true},
        {"a lost right release over a cell opens no dialog", {{Down, 2, {90, 30}}, {Lost, 1, {}}, {Up, 2, {90, 30}}},
         {E::Render, E::SetTool, E::RefreshBounds, E::EndPress}, 5, 0, true},
    };
    for (const Case& c : cases) {
        PanelState s;
        s.visible = true;
        s.bounds = {100, 100, 100 + kPanelWidth, 100 + kPanelHeight};
        std::vector<E> got;
        for (const Step& step : c.steps) {
            const POINT at = {100 + step.q.x, 100 + step.q.y};
            PanelAction a;
            switch (step.kind) {
            case Down: a = PanelButtonDown(s, at, step.button); break;
            case Up: a = PanelButtonUp(s, at, step.button); break;
            case Move: a = PanelMouseMove(s, at); break;
            case Double: a = PanelDoubleClick(s, at, step.button); break;
            case Lost: a = PanelReleaseLost(s, step.button); break;
            }
            for (E e : a.effects) {
                if (e == E::EndPress)
                    s.pressButton = 0;  // as the panel carries it out
                if (e != E::None)
                    got.push_back(e);
            }
            if (a.cell != 0) {
                EXPECT_EQ(a.cell, 5) << c.why;
            }
        }
        EXPECT_EQ(Names(got), Names(c.want)) << c.why;
        EXPECT_EQ(s.penSize, c.penSize) << c.why;
        EXPECT_EQ(s.pressButton, c.pressButton) << c.why;
        EXPECT_EQ(s.visible, c.visible) << c.why;
    }
}

TEST(PanelLayout, HitTestsOnTheEdgesOfEveryPart)
{
    struct Case {
        POINT q;
        bool colorActive;
        PanelPart part;
        int cell;
        const char* why;
    } cases[] = {
        {{0, 5}, true, PanelPart::None, -1, "the outline's left column"},
        {{1, 1}, true, PanelPart::TitleBar, -1, "title bar's first pixel"},
        {{318, 11}, true, PanelPart::TitleBar, -1, "title bar's last pixel"},
        {{319, 5}, true, PanelPart::None, -1, "the outline's right column"},
        {{100, 12}, true, PanelPart::None, -1, "the separator row"},
        {{5, 30}, true, PanelPart::None, -1, "bare body"},
        {{10, 25}, true, PanelPart::SizeBox, -1, "size box's top-left"},
        {{29, 44}, true, PanelPart::SizeBox, -1, "size box's bottom-right"},
        {{30, 35}, true, PanelPart::None, -1, "just right of the size box"},
        {{15, 30}, false, PanelPart::None, -1, "the size box is no part with the eraser"},
        {{38, 25}, true, PanelPart::ColorCell, 0, "cell 0's corner"},
        {{57, 44}, true, PanelPart::ColorCell, 0, "cell 0's far corner"},
        {{58, 30}, true, PanelPart::None, -1, "the gap between cells"},
        {{62, 30}, true, PanelPart::ColorCell, 1, "cell 1 starts 24 further"},
        {{225, 44}, true, PanelPart::ColorCell, 7, "cell 7's far corner"},
        {{230, 25}, true, PanelPart::EraserButton, -1, "eraser"},
        {{249, 44}, false, PanelPart::EraserButton, -1, "eraser's far corner"},
        {{265, 25}, true, PanelPart::SaveButton, -1, "save"},
        {{285, 30}, true, PanelPart::None, -1, "right of save"},
        {{290, 25}, true, PanelPart::CloseButton, -1, "close"},
        {{309, 44}, true, PanelPart::CloseButton, -1, "close's far corner"},
        {{309, 45}, true, PanelPart::None, -1, "below close"},
    };
    for (const Case& c : cases) {
        int cell = -1;
        EXPECT_EQ(HitPanelPart(c.q, c.colorActive, &cell), c.part) << c.why;
        EXPECT_EQ(cell, c.cell) << c.why;
    }
}

TEST(PanelLayout, SizeDragWidensOnePixelPerFourUpward)
{
    struct Case {
        int from, pressY, pointerY, want;
        const char* why;
    } cases[] = {
        {5, 100, 87, 8, "13 up: 13 / 4 = 3"},
        {5, 100, 98, 5, "2 up changes nothing"},
        {5, 100, 97, 5, "3 up neither"},
        {5, 100, 103, 5, "3 down truncates toward zero"},
        {5, 100, 200, 1, "100 down stops at 1"},
        {5, 100, 0, 20, "100 up stops at 20"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampPenSize(static_cast<uint32_t>(DraggedPenSize(c.from, c.pressY, c.pointerY))), c.want) << c.why;
    EXPECT_EQ(ClampPenSize(0), 1);
    EXPECT_EQ(ClampPenSize(static_cast<uint32_t>(-1)), 20) << "a negative width, compared unsigned";
}

TEST(PenKeys, TheRowOfNineWithExactlyItsModifiers)
{
    constexpr uint32_t kF1 = 0x70, kCtrl1 = '1' | (2 << 8);
    struct Case {
        uint32_t row, key, modifiers;
        int want;
        const char* why;
    } cases[] = {
        {kF1, 0x72, 0, 2, "F3 is cell 2"},
        {kF1, 0x78, 0, 8, "F9 is the eraser"},
        {kF1, 0x79, 0, -1, "F10 is past the row"},
        {kF1, 0x6F, 0, -1, "a key below the base wraps and is ignored"},
        {kF1, 0x70, 2, -1, "Ctrl+F1 when no modifier is configured"},
        {kCtrl1, '1', 2, 0, "Ctrl+1"},
        {kCtrl1, '8', 2, 7, "Ctrl+8"},
        {kCtrl1, '9', 2, 8, "Ctrl+9 is the eraser"},
        {kCtrl1, '1', 0, -1, "1 alone"},
        {kCtrl1, '1', 3, -1, "Shift+Ctrl+1"},
        {kCtrl1, '0', 2, -1, "Ctrl+0 is below the base"},
        {'1' | (0x0A << 8), '1', 2, -1, "the extended-key flag never matches"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PenKeyIndex(c.key, c.row, c.modifiers), c.want) << c.why;

    uint8_t keys[256] = {};
    keys[0x10] = 0x80;
    keys[0x12] = 0x81;
    keys[0x11] = 0x01;  // toggled, not down
    EXPECT_EQ(ModifiersFromKeyboardState(keys), 5u) << "Shift and Alt down, Ctrl only toggled";

    EXPECT_TRUE(PenKeySwitchesToolKind(8, true)) << "a colour stroke refuses the eraser";
    EXPECT_FALSE(PenKeySwitchesToolKind(3, true)) << "but takes another colour";
    EXPECT_TRUE(PenKeySwitchesToolKind(3, false)) << "an eraser stroke refuses colours";
}

}  // namespace
