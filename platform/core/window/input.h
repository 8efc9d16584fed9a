// What drivers report about native input and native window changes.
#pragma once

#include "platform/windef.h"

namespace glider::core {

// A pointer event over a top-level window at a screen point. The core picks the child
// under the point (or the capture window), tracks hover and leave, and posts the message.
void DeliverMouse(HWND topLevel, UINT message, POINT screen, WPARAM keys, int wheelDelta = 0);
// The pointer left every window of ours.
void DeliverPointerLeft();
void DeliverKey(HWND target, UINT message, int virtualKey, LPARAM lParam);
// A character typed (WM_CHAR), after its WM_KEYDOWN.
void DeliverChar(HWND target, wchar_t ch);
// The desktop moved or resized a native window (user drag, window manager).
void DeliverMoved(HWND hwnd, const RECT& screenRect);
// The desktop activated or deactivated a native window.
void DeliverActivated(HWND hwnd, bool active);
// The desktop asked to close a window (its close command, Alt+F4).
void DeliverCloseRequest(HWND hwnd);
// The desktop minimised or restored a window (taskbar).
void DeliverIconic(HWND hwnd, bool iconic);

// System cursor id of an HCURSOR from LoadCursorW, 0 for none.
int SystemCursorId(HCURSOR cursor);

}  // namespace glider::core
