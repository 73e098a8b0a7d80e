#include "session/session_objects.h"

#include <cstdlib>

#include "canvas/palette_panel.h"
#include "canvas/tool_state.h"
#include "render/color_dialog.h"
#include "render/eraser.h"
#include "render/pen_renderer.h"
#include "session/paint_state.h"

namespace {

PalettePanel* panel;
PenRenderer* renderer;
Eraser* theEraser;

void TearDownSessionObjects()
{
    delete theEraser;
    theEraser = nullptr;
    renderer->destroy();
    delete renderer;
    renderer = nullptr;
    delete panel;
    panel = nullptr;
}

}  // namespace

void BuildSessionObjects(WNDPROC panelNotify)
{
    if (panel != nullptr)
        return;
    panel = new PalettePanel(panelNotify);
    renderer = new PenRenderer;
    renderer->init();
    theEraser = new Eraser;
    theEraser->init();
    InitCustomColors();
    gesture.anchor = POINT{0, 0};
    lastPointer = POINT{0, 0};
    std::atexit(TearDownSessionObjects);
}

PalettePanel& palettePanel()
{
    return *panel;
}

PenRenderer& penRenderer()
{
    return *renderer;
}

Eraser& eraser()
{
    return *theEraser;
}

HCURSOR ApplyTool()
{
    renderer->highlighter = panel->highlighter;
    eraserMode = !panel->colorActive;
    if (panel->colorActive)
        renderer->setPen(panel->cells[panel->colorIndex].color, panel->penSize);
    return ToolCursor(eraserMode, renderer->highlighter);
}
