#include "forms/FormBack.h"

#include "app/GlobalModule.h"
#include "res/ids.h"
#include "ui/ResourceImages.h"

namespace {

#if defined(GLIDER_LIBRARY)
constexpr RECT kAnimationBounds{88, 29, 723, 229};
constexpr int kAnimationInterval = 140;
#endif

}  // namespace

bool CFormBack::Init() {
  CGlobalModule& m = Module();
  Create(m.windowClass, m.title, m.hInstance, nullptr);
  DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & 0x7F30FF7F) | 0x000A0000));
  DWORD ex = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  ex = (ex & ~0x181u) | WS_EX_LAYERED | (m.topMost == 1 ? WS_EX_TOPMOST : 0);
  SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(ex));
#if defined(GLIDER_LIBRARY)
  backImage.SetRect(&bounds);
  backImage.hasAlpha = LoadPngResource(m.hInstance, &backImage.picture, glider::res::ids::kPngBackground);
  AddControl(&backImage);
  animation.SetRect(&kAnimationBounds);
  animation.LoadFrames(m.hInstance, {});
  animation.postPaint = true;
  animation.frameInterval = kAnimationInterval;
  AddControl(&animation);
  RenderLayered(false);
#else
  RenderLayered(true);
#endif
  return true;
}

void CFormBack::RenderLayered(bool moveToOrigin) {
  HDC windowDc = GetDC(window);
  HDC memDc = CreateCompatibleDC(windowDc);
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
  HGDIOBJ old = SelectObject(memDc, bitmap);
#if defined(GLIDER_LIBRARY)
  for (CKXBaseControl* c : children) c->Paint(memDc);
#else
  if (HRSRC shadow = FindResourceW(nullptr, MAKEINTRESOURCEW(glider::res::ids::kPngShadow), L"PNG"))
    DrawShadowPng(shadow, memDc);
#endif
  POINT origin{0, 0}, source{0, 0};
  SIZE size{width, height};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(window, windowDc, moveToOrigin ? &origin : nullptr, &size, memDc, &source, 0, &blend,
                      ULW_ALPHA);
  SelectObject(memDc, old);
  DeleteObject(bitmap);
  DeleteDC(memDc);
  ReleaseDC(window, windowDc);
}

#if defined(GLIDER_LIBRARY)
// Every repaint goes through the layered content; the position stays.
void CFormBack::Paint(HDC) { RenderLayered(false); }
#endif

bool CFormBack::OnLButtonDown(UINT, const POINT*) {
  SendMessageW(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  return true;
}

void CFormBack::OnMove() {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  SetWindowPos(Module().formLogin.GetHwnd(), nullptr, origin.x, origin.y, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE);
}

LRESULT CFormBack::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (CKXForm::HandleMessage(hwnd, message, wParam, lParam) == 0) return 0;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CFormBack::ShowBackground(bool keepPosition) {
  CGlobalModule& m = Module();
  DWORD ex = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  ex = (ex & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW | (m.topMost == 1 ? WS_EX_TOPMOST : 0);
  SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(ex));
  RECT work{}, client{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetClientRect(window, &client);
  POINT p = CenteredInWorkArea(work, client);
  UINT flags = SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOSIZE | (keepPosition ? SWP_NOMOVE : 0);
  SetWindowPos(window, m.topMost == 1 ? HWND_TOPMOST : HWND_TOP, p.x, p.y, 0, 0, flags);
  ShowWindow(window, SW_SHOWNORMAL);
}
