#include "session/pointer_input.h"

#include "canvas/palette_panel.h"
#include "canvas/surfaces.h"
#include "canvas/tool_state.h"
#include "render/eraser.h"
#include "render/pen_renderer.h"
#include "session/paint_state.h"
#include "session/present.h"
#include "session/session_objects.h"

namespace {

PointerContext Context(POINT p, bool panelWasVisible)
{
    PointerContext c;
    c.panelWasVisible = panelWasVisible;
    c.overPanel = palettePanel().contains(p);
    c.highlighterPen = !eraserMode && penRenderer().highlighter;
    return c;
}

// The mark's pixels go into the committed picture, and what they replace into the history.
const RECT* Commit(PendingMark& mark)
{
    if (mark.dirty)
        undoHistory.keep(committedSurface, mark.dirtyRect);
    return mark.commit();
}

// The pen or the eraser, whichever is the tool at this step.
const RECT* DrawMark(MarkStep step, POINT p)
{
    if (eraserMode) {
        Eraser& e = eraser();
        switch (step) {
        case MarkStep::FirstPoint:
        case MarkStep::NextPoint: return e.eraseAt(p);
        case MarkStep::Rectangle: return e.eraseRectangle(p, gesture.anchor);
        case MarkStep::Commit: return Commit(e);
        case MarkStep::Revert: return e.revert();
        case MarkStep::None: break;
        }
        return nullptr;
    }
    PenRenderer& pen = penRenderer();
    switch (step) {
    case MarkStep::FirstPoint: return pen.beginStroke(p);
    case MarkStep::NextPoint: return pen.strokeTo(p);
    case MarkStep::Rectangle: return pen.drawRectangle(p, gesture.anchor);
    case MarkStep::Commit: return Commit(pen);
    case MarkStep::Revert: return pen.revert();
    case MarkStep::None: break;
    }
    return nullptr;
}

// The arrow over the visible panel, the tool's cursor elsewhere; SetCursor only on a change.
void UpdateHoverCursor(POINT p)
{
    const bool overPanel = palettePanel().contains(p);
    if (overPanel && currentCursor != arrowCursor)
        SetCurrentCursor(arrowCursor);
    else if (!overPanel && currentCursor == arrowCursor)
        SetCurrentCursor(ToolCursor(eraserMode, penRenderer().highlighter));
}

void CarryOutGesture(HWND window, const GestureAction& a, POINT pointer)
{
    if (a.hidePanel)
        palettePanel().hide();
    if (a.mark != MarkStep::None)
        PresentRect(window, DrawMark(a.mark, a.point));
    if (a.showPanel)
        palettePanel().showAt(window, a.point);
    if (a.cursor == CursorStep::Tool)
        SetCurrentCursor(ToolCursor(eraserMode, penRenderer().highlighter));
    else if (a.cursor == CursorStep::Hover)
        UpdateHoverCursor(pointer);
}

void ButtonUp(HWND window, int button, POINT p)
{
    palettePanel().onButtonUp(p, button);
    CarryOutGesture(window, GestureButtonUp(gesture, button, p, Context(p, palettePanel().visible)), p);
}

// The pointer is never captured: a release over another program's topmost window never arrives.
// Treat every button the panel or the gesture holds that this message no longer reports as released
// first.
void ReleaseMissed(HWND window, POINT p, WPARAM keyFlags, int except)
{
    palettePanel().onButtonsHeld(HeldButtons(static_cast<uint32_t>(keyFlags)) | except);
    const int missed = MissedReleases(gesture, static_cast<uint32_t>(keyFlags), except);
    for (int button : kReleaseOrder) {
        if (missed & button)
            ButtonUp(window, button, p);
    }
}

}  // namespace

void OnPointerButtonDown(HWND window, int button, POINT p, WPARAM keyFlags)
{
    ReleaseMissed(window, p, keyFlags, 0);
    const bool wasVisible = palettePanel().visible;
    palettePanel().onButtonDown(p, button);
    CarryOutGesture(window,
                    GestureButtonDown(gesture, button, p, static_cast<uint32_t>(keyFlags), Context(p, wasVisible)), p);
}

void OnPointerButtonUp(HWND window, int button, POINT p, WPARAM keyFlags)
{
    ReleaseMissed(window, p, keyFlags, button);
    ButtonUp(window, button, p);
}

void OnPointerDoubleClick(HWND window, int button, POINT p, WPARAM keyFlags)
{
    ReleaseMissed(window, p, keyFlags, 0);
    palettePanel().onDoubleClick(p, button);
    CarryOutGesture(window, GestureDoubleClick(), p);
}

void OnPointerMove(HWND window, POINT p, WPARAM keyFlags)
{
    ReleaseMissed(window, p, keyFlags, 0);
    lastPointer = p;
    if (palettePanel().visible)
        palettePanel().onMouseMove(p);
    CarryOutGesture(window, GestureMove(gesture, p), p);
    if (zoomLevel != 0)
        PresentRect(window, nullptr);  // the magnified view follows the pointer
}

void OnPointerWheel(HWND window, int delta, WPARAM keyFlags)
{
    ReleaseMissed(window, lastPointer, keyFlags, 0);
    const unsigned level = ZoomAfterWheel(gesture, zoomLevel, delta);
    if (level == zoomLevel)
        return;
    zoomLevel = level;
    PresentRect(window, nullptr);
}
