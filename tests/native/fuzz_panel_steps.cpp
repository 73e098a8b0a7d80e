// Random pointer events through the palette panel's steps, with a lost release checked first as the
// paint window does. After every step the state must be one the panel can be in, and a lost release
// must choose nothing. What each step asks for is walked row by row in the unit tests.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "canvas/panel_steps.h"

namespace {

PanelState s;

void Require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "%s: pressButton %d pressPart %d penSize %d colorIndex %d\n", what, s.pressButton,
                     static_cast<int>(s.pressPart), s.penSize, s.colorIndex);
        std::abort();
    }
}

void CarryOut(const PanelAction& a, bool lost)
{
    for (PanelEffect e : a.effects) {
        Require(!lost || e == PanelEffect::None || e == PanelEffect::EndPress, "a lost release chose something");
        if (e == PanelEffect::EndPress) {
            s.pressButton = 0;
            s.pressPart = PanelPart::None;
        }
    }
    const int b = s.pressButton;
    Require(b == 0 || b == 1 || b == 2 || b == 4, "the tracked press is no button");
    Require(b != 0 || s.pressPart == PanelPart::None, "a part without a press");
    Require(s.penSize >= 1 && s.penSize <= kMaxPenSize && s.colorIndex >= 0 && s.colorIndex < kCellCount,
            "a width or a cell out of range");
    Require(s.bounds.right - s.bounds.left == kPanelWidth && s.bounds.bottom - s.bounds.top == kPanelHeight,
            "the panel changed its size");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto next = [&]() -> uint8_t { return size ? (--size, *data++) : 0; };
    s = PanelState();
    s.visible = true;
    while (size > 0) {
        const uint8_t op = next() % 6;
        const int button = 1 << (next() % 3);
        const int16_t x = static_cast<int16_t>(next() | next() << 8), y = static_cast<int16_t>(next() | next() << 8);
        const POINT p = {x, y};
        CarryOut(PanelReleaseLost(s, next() & 7), true);
        switch (op) {
        case 0: CarryOut(PanelButtonDown(s, p, button), false); break;
        case 1: CarryOut(PanelButtonUp(s, p, button), false); break;
        case 2:
            if (s.visible)
                CarryOut(PanelMouseMove(s, p), false);
            break;
        case 3: CarryOut(PanelDoubleClick(s, p, button), false); break;
        case 4: SelectPanelTool(s, next()); break;
        case 5: s.visible = true; break;  // shown again where it was
        }
    }
    return 0;
}
