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

void ReplaceRegion(Window& w, HRGN region) { w.region = region; }
void ReleaseWindowResources(Window& w) { w.region = nullptr; }

}  // namespace glider::core
