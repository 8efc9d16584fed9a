#include "ui/KXForm.h"

#include <algorithm>

#include "platform/wingdi.h"

namespace {

POINT PointFromLParam(LPARAM lParam) {
  return POINT{static_cast<LONG>(LOWORD(static_cast<uintptr_t>(lParam))),
               static_cast<LONG>(HIWORD(static_cast<uintptr_t>(lParam)))};
}

}  // namespace

POINT CenteredInWorkArea(const RECT& workArea, const RECT& client) {
  return POINT{(workArea.right - (client.right - client.left)) / 2,
               (workArea.bottom - (client.bottom - client.top)) / 2};
}

CKXForm::CKXForm() = default;
CKXForm::~CKXForm() = default;

bool CKXForm::OnLButtonDown(UINT, const POINT*) {
  SetFocus(window);
  return true;
}

bool CKXForm::OnMouseMove(UINT keyFlags, const POINT* pt) {
  EnsureMouseTracking();
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if (!(*it)->HitTest(pt)) (*it)->OnMouseMove(keyFlags, pt);
  if (CKXBaseControl* c = ControlAt(pt)) return c->OnMouseMove(keyFlags, pt);
  return false;
}

bool CKXForm::OnMouseWheel(WPARAM wheelAndKeys, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  return c ? c->OnMouseWheel(wheelAndKeys, pt) : false;
}

void CKXForm::Paint(HDC dc) {
  for (CKXBaseControl* c : children) c->Paint(dc);
}

void CKXForm::Relayout(const POINT* offset) {
  for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->Relayout(offset);
}

bool CKXForm::AddControl(CKXBaseControl* c) {
  c->hwnd = window;
  c->SetOwner(this);
  children.push_back(c);
  return true;
}

bool CKXForm::RemoveControl(CKXBaseControl* c) {
  auto it = std::find(children.begin(), children.end(), c);
  if (it == children.end()) return false;
  children.erase(it);
  return true;
}

bool CKXForm::OnMouseLeave(UINT keyFlags, const POINT* pt) {
  tracking = true;
  OnMouseMove(keyFlags, pt);
  tracking = false;
  return true;
}

bool CKXForm::OnMouseHover(UINT, const POINT*) {
  hovered = true;
  return true;
}

void CKXForm::OnSize() {
  Relayout(nullptr);
  UpdateRegion();
}

void CKXForm::OnMove() {}
void CKXForm::OnActivate() {}

void CKXForm::EnsureMouseTracking() {
  if (tracking && !hovered) return;
  TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, window, 300};
  _TrackMouseEvent(&tme);
  tracking = true;
  hovered = false;
}

LRESULT CKXForm::BeginSizing(int edge, HWND target) {
  if (!target) target = window;
  BOOL dragFull = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &dragFull, 0);
  if (dragFull) SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, 0, nullptr, 0);
  LRESULT result = SendMessageW(target, WM_SYSCOMMAND, SC_SIZE + static_cast<WPARAM>(edge), 0);
  if (dragFull) return SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, 1, nullptr, 0);
  return result;
}

bool CKXForm::Create(const wchar_t* windowClass, const wchar_t* title, HINSTANCE instance, HWND parent) {
  if (window) return true;
  window = CreateWindowExW(0, windowClass, title, WS_POPUP, bounds.left, bounds.top, bounds.right,
                           bounds.bottom, parent, nullptr, instance, nullptr);
  SetWindowTextW(window, L"Thornmere");
  return window != nullptr;
}

bool CKXForm::ShowCentered(int showCommand) {
  if (!window) return false;
  RECT work{}, client{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetClientRect(window, &client);
  POINT p = CenteredInWorkArea(work, client);
  SetWindowPos(window, HWND_TOP, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}

void CKXForm::PlaceAtBoundsCentered() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int x = (bounds.left + work.right - bounds.right) / 2;
  int y = (bounds.top + work.bottom - bounds.bottom) / 2;
  SetWindowPos(window, HWND_TOP, x, y, bounds.right - bounds.left, bounds.bottom - bounds.top,
               SWP_SHOWWINDOW);
}

void CKXForm::Hide() { ShowWindow(window, SW_HIDE); }
void CKXForm::Minimize() { ShowWindow(window, SW_MINIMIZE); }

void CKXForm::RestoreAndActivate() {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  ShowWindow(window, SW_SHOW);
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
}

bool CKXForm::Close() {
  DestroyWindow(window);
  return true;
}

void CKXForm::RedrawControls() {
  for (auto it = children.rbegin(); it != children.rend(); ++it) (*it)->Redraw();
}

void CKXForm::ReservedFormHook() {}

HWND CKXForm::GetHwnd() { return window; }

LRESULT CKXForm::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  UINT keys = static_cast<UINT>(wParam);
  POINT pt = PointFromLParam(lParam);
  switch (message) {
    case WM_MOVE:
      OnMove();
      return 0;
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) OnActivate();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(keys, &pt);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(keys, &pt);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(keys, &pt);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(keys, &pt);
      return 0;
    case WM_MOUSEWHEEL: {
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(window, &screen);
      OnMouseWheel(wParam, &screen);
      return 0;
    }
    case WM_MOUSEHOVER:
      OnMouseHover(keys, &pt);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave(keys, &pt);
      return 0;
    default:
      return 1;
  }
}

bool CKXForm::PreTranslateMessage(MSG*) { return true; }

CKXBaseControl* CKXForm::ControlAt(const POINT* pt) {
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if ((*it)->HitTest(pt)) return *it;
  return nullptr;
}

void CKXForm::UpdateRegion() {
  RECT r{};
  GetClientRect(window, &r);
  int corner = roundCorners ? 4 : 0;
  HRGN region = CreateRoundRectRgn(0, 0, r.right + 1, r.bottom + 1, corner, corner);
  SetWindowRgn(window, region, TRUE);
}

bool CKXForm::SizingHitTest(const POINT* pt, bool begin) {
  if (!pt || (pt->x == 0 && pt->y == 0)) return false;
  if (CKXBaseControl* c = ControlAt(pt)) {
    std::wstring cls;
    c->GetControlClass(cls);
    if (cls == L"CKXButton" || cls == L"CKXIconButton") return false;
  }
  RECT r{};
  GetClientRect(window, &r);
  const LONG w = r.right, h = r.bottom, x = pt->x, y = pt->y;
  struct Zone {
    bool hit;
    LPCWSTR cursor;
    int edge;
  };
  const Zone zones[] = {
      {x <= 10 && y <= 10, IDC_SIZENWSE, WMSZ_TOPLEFT},
      {x >= w - 10 && y >= h - 10, IDC_SIZENWSE, WMSZ_BOTTOMRIGHT},
      {x >= w - 10 && y <= 10, IDC_SIZENESW, WMSZ_TOPRIGHT},
      {x <= 10 && y >= h - 10, IDC_SIZENESW, WMSZ_BOTTOMLEFT},
      {x <= 5, IDC_SIZEWE, WMSZ_LEFT},
      {x >= w - 5, IDC_SIZEWE, WMSZ_RIGHT},
      {y <= 5, IDC_SIZENS, WMSZ_TOP},
      {y >= h - 5, IDC_SIZENS, WMSZ_BOTTOM},
  };
  for (const Zone& z : zones) {
    if (!z.hit) continue;
    SetCursor(LoadCursorW(nullptr, z.cursor));
    if (begin) BeginSizing(z.edge, nullptr);
    return true;
  }
  return false;
}
