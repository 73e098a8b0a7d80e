// Random mouse messages offered to the palette panel and the gesture as the paint window offers them:
// first the releases the key flags no longer show, then the panel's step, then the gesture's, whose
// hiding and showing the panel follows. After each, both must be in a state they can be in, and
// neither may hold a button the message shows released. What each step asks is the unit tables' business.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "canvas/panel_steps.h"
#include "canvas/rect.h"
#include "session/gesture.h"

namespace {

PanelState panel;
GestureState gesture;

void Require(bool holds, const char* what) { holds || (std::fprintf(stderr, "%s\n", what), std::abort(), 0); }

void Panel(const PanelAction& a)  // the one effect that changes the panel's state, as the panel carries it out
{
    for (PanelEffect e : a.effects)
        if (e == PanelEffect::EndPress)
            panel.pressButton = 0, panel.pressPart = PanelPart::None;
}

void Gesture(const GestureAction& a)
{
    if (a.hidePanel)
        panel.visible = false, Panel(PanelAction{{PanelEffect::EndPress}});
    if (a.showPanel)  // where the press grabbed it
        panel.visible = true, panel.bounds = RectFromSize({a.point.x - panel.grabPoint.x, a.point.y - panel.grabPoint.y},
                                                          {kPanelWidth, kPanelHeight});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto next = [&]() -> uint8_t { return size ? (--size, *data++) : 0; };
    panel = PanelState(), gesture = GestureState(), panel.visible = true;
    for (unsigned zoom = 0; size > 0;) {
        const int op = next() % 7, facts = next(), button = 1 << (next() % 3);
        const POINT p = {int16_t(next() | next() << 8), int16_t(next() | next() << 8)};  // lParam's words, signed
        const uint32_t keyFlags = next() & 0x7F;
        const bool pen = facts & 1;  // the highlighter is the tool
        auto at = [&](bool was) { return PointerContext{was, panel.visible && RectContains(panel.bounds, p), pen}; };
        auto release = [&](int b) {
            Panel(PanelButtonUp(panel, p, b)), Gesture(GestureButtonUp(gesture, b, p, at(panel.visible)));
        };
        // MK_LBUTTON 0x01, MK_RBUTTON 0x02, MK_MBUTTON 0x10; a press holds its own button.
        const int held = (keyFlags & 3) | (keyFlags & 0x10 ? 4 : 0) | (op == 0 ? button : 0);
        if (op < 5) {  // the panel's press first, then the gesture's buttons in their order
            Panel(PanelReleaseLost(panel, HeldButtons(keyFlags) | (op == 1 ? button : 0)));
            const int missed = MissedReleases(gesture, keyFlags, op == 1 ? button : 0);
            for (int b : kReleaseOrder)
                if (missed & b)
                    release(b);
        }
        const bool wasVisible = panel.visible;
        switch (op) {
        case 0:
            Panel(PanelButtonDown(panel, p, button));
            Gesture(GestureButtonDown(gesture, button, p, keyFlags, at(wasVisible)));
            break;
        case 1: release(button); break;
        case 2: wasVisible ? Panel(PanelMouseMove(panel, p)) : void(), Gesture(GestureMove(gesture, p)); break;
        case 3: Panel(PanelDoubleClick(panel, p, button)); break;
        case 4: zoom = ZoomAfterWheel(gesture, zoom, p.x); break;
        case 5: SelectPanelTool(panel, facts >> 1); break;
        case 6: ResetGestureButtons(gesture); break;  // a new paint window; the panel lives on
        }
        const int b = panel.pressButton;
        Require(op > 4 || ((gesture.buttonsDown | b) & ~held) == 0, "a button the message shows released is held");
        Require((gesture.gestureButton == 0) == (gesture.buttonsDown == 0) && (b == 0 || b == 1 || b == 2 || b == 4) &&
                    (b != 0 || panel.pressPart == PanelPart::None) && (panel.visible || b == 0),
                "a gesture without buttons or the reverse; a press of no button, without a part, or hidden");
        Require(zoom <= kMaxZoomLevel && std::abs(gesture.wheelDelta) < kWheelDelta && panel.penSize >= 1 &&
                    panel.penSize <= kMaxPenSize && unsigned(panel.colorIndex) < kCellCount &&
                    panel.bounds.right - panel.bounds.left == kPanelWidth, "a zoom, width, cell or size out of range");
    }
    return 0;
}
