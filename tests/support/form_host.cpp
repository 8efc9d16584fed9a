#include "tests/support/form_host.h"

namespace glider::test {
namespace {

CKXForm* gHosted = nullptr;

LRESULT HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gHosted && hwnd == gHosted->GetHwnd() && gHosted->HandleMessage(hwnd, msg, wParam, lParam) == 0)
    return 0;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

const wchar_t kTestFormClass[] = L"KXFormTest";

bool HostForm(CKXForm& form, const RECT& bounds) {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = kTestFormClass;
    return RegisterClassExW(&wc);
  }();
  if (atom == 0) return false;
  gHosted = &form;
  form.SetRect(&bounds);
  return form.Create(kTestFormClass, L"title", nullptr, nullptr);
}

void UnhostForm(CKXForm& form) {
  form.Close();
  if (gHosted == &form) gHosted = nullptr;
}

}  // namespace glider::test
