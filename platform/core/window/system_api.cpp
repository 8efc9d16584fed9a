// System parameters and message boxes.
#include "platform/core/window/driver.h"
#include "platform/core/window/message_queue.h"
#include "platform/core/window/window_manager.h"

using namespace glider::core;

BOOL SystemParametersInfoW(UINT action, UINT param, PVOID data, UINT) {
  WindowManager& m = WindowManager::Get();
  switch (action) {
    case SPI_GETWORKAREA:
      if (!data) return FALSE;
      *static_cast<RECT*>(data) = GetDriver().WorkArea();
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
      if (!data) return FALSE;
      *static_cast<BOOL*>(data) = m.dragFullWindows ? TRUE : FALSE;
      return TRUE;
    case SPI_SETDRAGFULLWINDOWS:
      m.dragFullWindows = param != 0;
      return TRUE;
    default:
      return FALSE;
  }
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  MessageBoxRequest request{owner, text ? text : L"", caption ? caption : L"", type};
  std::shared_ptr<ThreadQueue> queue;
  {
    WindowManager& m = WindowManager::Get();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    if (Window* w = m.Find(owner)) queue = w->queue;
  }
  if (!queue) queue = UiQueue();
  if (!queue || queue->thread == std::this_thread::get_id()) return GetDriver().MessageBox(request);
  int result = 0;
  CallOn(*queue, [&] { result = GetDriver().MessageBox(request); });
  return result;
}
