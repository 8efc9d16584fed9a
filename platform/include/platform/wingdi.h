// GDI: the subset the window core needs before the drawing layer lands.
#pragma once

#include "platform/windef.h"

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL DeleteObject(HGDIOBJ object);
inline BOOL DeleteObject(HRGN region) { return DeleteObject(reinterpret_cast<HGDIOBJ>(region)); }
