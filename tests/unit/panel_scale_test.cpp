// The palette panel on a scaled monitor: its parts at 150 % and 200 %, where it is shown, and a size
// drag still counted in screen pixels. The worked examples at 96 DPI: panel_rules_test.cpp.
#include <gtest/gtest.h>

#include "canvas/panel_layout.h"
#include "canvas/panel_steps.h"

namespace {

TEST(PanelScale, HitTestsOnTheEdgesAtEachScale)
{
    using P = PanelPart;
    struct Case {
        int dpi;
        POINT q;
        P part;
        int cell;
        const char* why;
    } cases[] = {
        {96, {318, 11}, P::TitleBar, -1, "100 %: title bar's last pixel"},
        {96, {319, 11}, P::None, -1, "100 %: the outline"},
        {144, {1, 5}, P::None, -1, "150 %: the outline is two pixels"},
        {144, {2, 2}, P::TitleBar, -1, "150 %: title bar's first pixel"},
        {144, {477, 18}, P::TitleBar, -1, "150 %: title bar's last pixel"},
        {144, {478, 10}, P::None, -1, "150 %: the right outline is two pixels too"},
        {144, {100, 20}, P::None, -1, "150 %: the separator's second row"},
        {144, {15, 38}, P::SizeBox, -1, "150 %: size box's top-left"},
        {144, {44, 67}, P::SizeBox, -1, "150 %: size box 30 pixels square"},
        {144, {87, 50}, P::None, -1, "150 %: the gap after cell 0"},
        {144, {93, 38}, P::ColorCell, 1, "150 %: a pitch of 36"},
        {144, {338, 67}, P::ColorCell, 7, "150 %: cell 7's far corner"},
        {144, {374, 67}, P::EraserButton, -1, "150 %: eraser's far corner"},
        {144, {398, 38}, P::SaveButton, -1, "150 %: save"},
        {144, {464, 67}, P::CloseButton, -1, "150 %: close's far corner"},
        {144, {465, 67}, P::None, -1, "150 %: right of close"},
        {192, {637, 23}, P::TitleBar, -1, "200 %: title bar's last pixel"},
        {192, {100, 24}, P::None, -1, "200 %: the separator"},
        {192, {59, 89}, P::SizeBox, -1, "200 %: size box's far corner"},
        {192, {76, 50}, P::ColorCell, 0, "200 %: cell 0"},
        {192, {116, 60}, P::None, -1, "200 %: the gap after cell 0"},
        {192, {172, 50}, P::ColorCell, 2, "200 %: cell 2 at twice the pitch"},
        {192, {460, 50}, P::EraserButton, -1, "200 %: eraser"},
        {192, {530, 50}, P::SaveButton, -1, "200 %: save"},
        {192, {619, 89}, P::CloseButton, -1, "200 %: close's far corner"},
        {192, {619, 90}, P::None, -1, "200 %: below close"},
    };
    for (const Case& c : cases) {
        int cell = -1;
        EXPECT_EQ(HitPanelPart(c.q, true, &cell, c.dpi), c.part) << c.why;
        EXPECT_EQ(cell, c.cell) << c.why;
    }
}

// Shown on monitors of one scale after another: the size of each, the same spot of the panel under
// the pointer, and the press that lands there.
TEST(PanelScale, ShownOnEachMonitorWithTheSameSpotUnderThePointer)
{
    struct Case {
        int monitorDpi, width, height;
        POINT grab;
    } cases[] = {
        {192, 640, 120, {320, 14}},
        {144, 480, 90, {240, 11}},
        {96, 320, 60, {160, 7}},
        {72, 320, 60, {160, 7}},  // never smaller than at 100 %
    };
    PanelState s;
    for (const Case& c : cases) {
        PanelShowAt(s, {1000, 500}, c.monitorDpi);
        EXPECT_EQ(s.bounds.right - s.bounds.left, c.width) << c.monitorDpi;
        EXPECT_EQ(s.bounds.bottom - s.bounds.top, c.height) << c.monitorDpi;
        EXPECT_EQ(s.grabPoint.x, c.grab.x) << c.monitorDpi;
        EXPECT_EQ(s.grabPoint.y, c.grab.y) << c.monitorDpi;
        EXPECT_EQ(s.bounds.left + s.grabPoint.x, 1000) << c.monitorDpi;
        EXPECT_EQ(s.bounds.top + s.grabPoint.y, 500) << c.monitorDpi;
    }
    PanelShowAt(s, {1000, 500}, 192);
    const POINT sizeBox = {s.bounds.left + 40, s.bounds.top + 70};
    PanelButtonDown(s, sizeBox, 1);
    PanelMouseMove(s, {sizeBox.x, sizeBox.y - 13});
    EXPECT_EQ(s.penSize, 8) << "13 screen pixels up at 200 % widen by 3, as at 100 %";
}

}  // namespace
