// The palette panel on monitors at 150 % and 200 %: its parts' edges, where it is shown, and a size
// drag still counted in screen pixels. The worked examples at 96 DPI: panel_rules_test.cpp.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "canvas/panel_steps.h"

namespace {

TEST(PanelScale, HitTestsOnTheEdgesAtEachScale)
{
    using P = PanelPart;
    const struct {
        int dpi, x, y;
        P part;
        int cell;
    } cases[] = {
        {144, 1, 5, P::None, -1},      {144, 478, 10, P::None, -1},  // the outline is two pixels on both sides
        {144, 100, 20, P::None, -1},   {144, 44, 67, P::SizeBox, -1},  // the separator's second row; 30 square
        {144, 87, 50, P::None, -1},    {144, 338, 67, P::ColorCell, 7},  // a pitch of 36
        {144, 464, 67, P::CloseButton, -1}, {192, 637, 23, P::TitleBar, -1}, {192, 116, 60, P::None, -1},
        {192, 172, 50, P::ColorCell, 2}, {192, 460, 50, P::EraserButton, -1}, {192, 619, 90, P::None, -1},
    };
    for (const auto& c : cases) {
        int cell = -1;
        EXPECT_EQ(HitPanelPart({c.x, c.y}, true, &cell, c.dpi), c.part) << c.dpi << ": " << c.x << "," << c.y;
        EXPECT_EQ(cell, c.cell) << c.dpi << ": " << c.x << "," << c.y;
    }
}

// On monitors of one scale after another, always with the same spot under the pointer (1000,500).
TEST(PanelScale, ShownOnEachMonitorWithTheSameSpotUnderThePointer)
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

}  // namespace
