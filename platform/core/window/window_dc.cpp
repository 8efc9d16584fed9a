// Device contexts on window pixels and the GDI resources a window holds. Until the
// drawing layer lands, a window DC is a token that draws nothing.
#include "platform/core/window/window_ops.h"

namespace glider::core {

namespace {
struct NullDC {};
NullDC gNullDC;
}  // namespace

HDC AcquireWindowDC(Window&, const RECT*) { return reinterpret_cast<HDC>(&gNullDC); }
void ReleaseWindowDC(HDC) {}



}  // namespace glider::core

#include "platform/wingdi.h"

namespace {
struct RoundRectRegion {
  int left, top, right, bottom, ew, eh;
};
}  // namespace

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ew, int eh) {
  return reinterpret_cast<HRGN>(new RoundRectRegion{left, top, right, bottom, ew, eh});
}

BOOL DeleteObject(HGDIOBJ object) {
  delete reinterpret_cast<RoundRectRegion*>(object);
  return object ? TRUE : FALSE;
}

namespace glider::core {

void ReplaceRegion(Window& w, HRGN region) {
  if (w.region && w.region != region) DeleteObject(w.region);
  w.region = region;
}

void ReleaseWindowResources(Window& w) { ReplaceRegion(w, nullptr); }

}  // namespace glider::core
