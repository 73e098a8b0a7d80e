// The four off-screen surfaces of a paint session, each a stage of the same picture, and the paint
// window's own device context. They live from the paint window's creation to its destruction.
#pragma once
#include <windows.h>

extern HDC captureSurface;    // the desktop as captured
extern HDC committedSurface;  // capture plus every finished mark
extern HDC drawingSurface;    // plus the mark in progress
extern HDC viewSurface;       // the frame shown: drawing (or its magnified view) with the panel on top
extern HDC windowDC;          // the paint window's device context, finished frames go straight to it

// Creates windowDC and the four surfaces at the virtual screen's size. All or nothing: when any
// device context or bitmap cannot be created (a large desktop can exhaust a 32-bit process), what
// was made is released again and the answer is false.
bool CreateSurfaces(HWND window);
bool CreateSurfacesOfSize(HWND window, int width, int height);

// Whether a session's surfaces exist: from a successful creation to the release.
inline bool SurfacesExist()
{
    return viewSurface != nullptr;
}

// Selects each kept bitmap back, deletes the session bitmaps and device contexts (capture,
// committed, drawing, view), then releases windowDC.
void ReleaseSurfaces(HWND window);
