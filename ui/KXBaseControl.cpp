#include "ui/KXBaseControl.h"

CKXBaseControl::CKXBaseControl() : cursor(LoadCursorW(nullptr, IDC_ARROW)) {}

CKXBaseControl::~CKXBaseControl() = default;

void CKXBaseControl::ShowCursor() const { SetCursor(cursor); }

bool CKXBaseControl::OnLButtonDown(UINT, const POINT*) {
  ShowCursor();
  return false;
}

bool CKXBaseControl::OnLButtonUp(UINT, const POINT*) {
  ShowCursor();
  return false;
}

bool CKXBaseControl::OnMouseMove(UINT, const POINT* pt) {
  if (visible && enabled && HitTest(pt)) ShowCursor();
  return false;
}

bool CKXBaseControl::OnLButtonDblClk(UINT, const POINT*) { return false; }

bool CKXBaseControl::OnMouseWheel(WPARAM, const POINT*) { return false; }

void CKXBaseControl::Paint(HDC) {}

void CKXBaseControl::SetRect(const RECT* r) {
  if (r) bounds = *r;
}

void CKXBaseControl::SetAnchorRect(const RECT* r) {
  if (r) anchorRect = *r;
  Relayout(nullptr);
}

RECT* CKXBaseControl::GetRect(RECT* out) {
  if (out) *out = bounds;
  return out;
}

std::wstring& CKXBaseControl::GetControlClass(std::wstring& out) {
  out = className;
  return out;
}

void CKXBaseControl::Relayout(const POINT* offset) {
  if (!offset) return;
  bounds.left += offset->x;
  bounds.right += offset->x;
  bounds.top += offset->y;
  bounds.bottom += offset->y;
}

bool CKXBaseControl::HitTest(const POINT* pt) {
  return visible && enabled && pt && pt->x >= bounds.left && pt->x < bounds.right && pt->y >= bounds.top &&
         pt->y < bounds.bottom;
}

void CKXBaseControl::SetOwner(CKXForm* form) { owner = form; }

void CKXBaseControl::SetVisible(bool v, bool redraw) {
  if (visible == v) return;
  visible = v;
  if (redraw) Redraw();
}

void CKXBaseControl::SetEnabled(bool e, bool redraw) {
  if (enabled == e) return;
  enabled = e;
  if (redraw) Redraw();
}

void CKXBaseControl::Redraw() {
  if (postPaint) {
    PostMessageW(hwnd, WM_PAINT, 0, 0);
    return;
  }
  RedrawWindow(hwnd, &bounds, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
}

LRESULT CKXBaseControl::ReservedHook(WPARAM, WPARAM, WPARAM, WPARAM, WPARAM) { return 0; }
