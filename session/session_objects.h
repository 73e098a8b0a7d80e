// The objects that outlive paint sessions: built when the paint window procedure first runs, torn
// down at process exit in the reverse order.
#pragma once
#include <windows.h>

class PalettePanel;
class PenRenderer;
class Eraser;

// Builds them once (palette panel, pen renderer, eraser, custom colours) and registers the teardown.
// The panel reports to the paint window through `panelNotify`.
void BuildSessionObjects(WNDPROC panelNotify);

PalettePanel& palettePanel();
PenRenderer& penRenderer();
Eraser& eraser();

// The panel owns the tool (a colour or the eraser, the width, the highlighter). This moves it to the
// pen renderer and eraserMode, and answers the cursor that shows it, for the paths that show it at
// once. Every path that changes the tool calls it.
HCURSOR ApplyTool();
