#include "canvas/panel_steps.h"

#include "canvas/rect.h"

namespace {

PanelAction Do(PanelEffect a, PanelEffect b = PanelEffect::None, PanelEffect c = PanelEffect::None)
{
    PanelAction action;
    action.effects[0] = a;
    action.effects[1] = b;
    action.effects[2] = c;
    return action;
}

POINT Relative(const PanelState& s, POINT p)
{
    return POINT{p.x - s.bounds.left, p.y - s.bounds.top};
}

void MoveTo(PanelState& s, POINT topLeft)
{
    s.bounds = RectFromSize(topLeft, {s.bounds.right - s.bounds.left, s.bounds.bottom - s.bounds.top});
}

// A press that picked a tool: the panel shows the choice, the paint window takes it, and only then
// is the panel recomposed.
PanelAction Chosen(PanelEffect notice)
{
    return Do(PanelEffect::Render, notice, PanelEffect::RefreshBounds);
}

}  // namespace

bool SelectPanelTool(PanelState& s, uint32_t i)
{
    s.colorActive = i < kCellCount;
    if (s.colorActive)
        s.colorIndex = static_cast<int>(i);
    return s.colorActive;
}

void PanelShowAt(PanelState& s, POINT p, int monitorDpi)
{
    const int dpi = PanelDpi(monitorDpi);
    s.grabPoint = PanelPointRescaled(s.grabPoint, s.dpi, dpi);
    s.dpi = dpi;
    s.bounds = RectFromSize({p.x - s.grabPoint.x, p.y - s.grabPoint.y}, PanelSize(dpi));
    s.visible = true;
}

PanelAction PanelButtonDown(PanelState& s, POINT p, int button)
{
    if (!s.visible || s.pressButton != 0 || !RectContains(s.bounds, p))
        return {};
    const POINT q = Relative(s, p);
    int cell = 0;
    s.pressPart = HitPanelPart(q, s.colorActive, &cell, s.dpi);
    s.pressButton = button;  // tracked, and swallowed, even when it hit no part
    switch (s.pressPart) {
    case PanelPart::TitleBar:
        if (button == 1)
            s.grabPoint = q;
        return {};
    case PanelPart::SizeBox:
        s.grabPoint = q;
        if (button == 1)
            s.sizeAtPress = s.penSize;
        if (button != 2)
            return {};
        s.highlighter = !s.highlighter;
        return Chosen(PanelEffect::Highlight);
    case PanelPart::ColorCell:
        if (button != 1 && button != 2)
            return {};
        s.grabPoint = q;
        SelectPanelTool(s, static_cast<uint32_t>(cell));
        return Chosen(PanelEffect::SetTool);
    case PanelPart::EraserButton:
        if (button != 1)
            return {};
        s.grabPoint = q;
        SelectPanelTool(s, kCellCount);
        return Chosen(PanelEffect::SetTool);
    default: return {};
    }
}

PanelAction PanelButtonUp(PanelState& s, POINT p, int button)
{
    if (!s.visible || s.pressButton != button)
        return {};
    const POINT q = Relative(s, p);
    switch (s.pressPart) {
    case PanelPart::TitleBar:
        if (button != 2 || !RectContains(TitleRect(s.dpi), q))
            break;
        s.grabPoint = q;
        s.visible = false;
        return Do(PanelEffect::EndPress, PanelEffect::RefreshBounds);
    case PanelPart::ColorCell:
        if (button != 2 || CellAt(q, s.dpi) < 0)
            break;
        {
            PanelAction action = Do(PanelEffect::EditColor, PanelEffect::EndPress);
            action.cell = CellAt(q, s.dpi);
            return action;
        }
    case PanelPart::SaveButton:
        if (button == 1 && RectContains(SaveButtonRect(s.dpi), q))
            return Do(PanelEffect::Save, PanelEffect::EndPress);
        break;
    case PanelPart::CloseButton:
        if (button == 1 && RectContains(CloseButtonRect(s.dpi), q))
            return Do(PanelEffect::Close, PanelEffect::EndPress);
        break;
    default: break;
    }
    return Do(PanelEffect::EndPress);
}

PanelAction PanelDoubleClick(PanelState& s, POINT p, int button)
{
    if (!s.visible || s.pressButton != 0 || !RectContains(s.bounds, p))
        return {};
    const POINT q = Relative(s, p);
    const bool onCell = CellAt(q, s.dpi) >= 0;
    if (!onCell && !RectContains(EraserButtonRect(s.dpi), q))
        return {};
    if (button == 1) {
        // The first click of the pair has already chosen the colour or the eraser.
        s.visible = false;
        return Do(PanelEffect::EndPress, PanelEffect::RefreshBounds);
    }
    return button == 2 && !onCell ? Do(PanelEffect::Clear) : PanelAction{};
}

PanelAction PanelMouseMove(PanelState& s, POINT p)
{
    if (s.pressButton != 1)
        return {};
    if (s.pressPart == PanelPart::TitleBar) {
        MoveTo(s, {p.x - s.grabPoint.x, p.y - s.grabPoint.y});
        return Do(PanelEffect::RefreshWhole);  // the old place and the new one both change
    }
    if (s.pressPart != PanelPart::SizeBox || s.highlighter)
        return {};
    s.penSize = ClampPenSize(static_cast<uint32_t>(DraggedPenSize(s.sizeAtPress, s.grabPoint.y + s.bounds.top, p.y)));
    return Do(PanelEffect::Render, PanelEffect::RefreshBounds, PanelEffect::SetTool);
}

PanelAction PanelReleaseLost(PanelState& s, int heldButtons)
{
    if (s.pressButton == 0 || (heldButtons & s.pressButton))
        return {};
    return Do(PanelEffect::EndPress);
}
