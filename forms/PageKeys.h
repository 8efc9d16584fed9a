// The keys a login-style window lets its page's browser translate: key releases, the
// editing shortcuts with Ctrl, Tab, Enter and Delete. Every other key is dispatched
// normally, so typing reaches the page.
#pragma once

#include "browser/BrowserView.h"

inline bool PassKeyToPage(CBrowserView& view, MSG* msg) {
  if (msg->message == WM_KEYUP) return view.PreTranslateMessage(msg) != FALSE;
  int key = static_cast<int>(msg->wParam);
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool editing = ctrl && (key == 'C' || key == 'V' || key == 'X' || key == 'Z');
  if (editing || key == VK_TAB || key == VK_RETURN || key == VK_DELETE)
    return view.PreTranslateMessage(msg) != FALSE;
  return false;
}
