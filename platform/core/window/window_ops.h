// Operations on window records shared by the core's API files.
#pragma once

#include "platform/core/window/window.h"

namespace glider::core {

// Makes hwnd the active (foreground) window; askDriver false when the driver reported it.
void Activate(HWND hwnd, bool askDriver);
void ActivateNext(Window& gone);
void SetVisible(Window& w, bool visible);
void SetIconic(Window& w, bool iconic);
void DestroyTree(Window& w);

// Shape and GDI resources held by a window.
void ReplaceRegion(Window& w, HRGN region);
void ReleaseWindowResources(Window& w);

// A device context drawing into the window's pixels, clipped to clip (client coordinates).
HDC AcquireWindowDC(Window& w, const RECT* clip);
void ReleaseWindowDC(HDC dc);

}  // namespace glider::core
