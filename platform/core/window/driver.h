// The driver interface: everything that needs a screen or a person.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/browser/web_engine.h"
#include "platform/core/window/window.h"

namespace glider::core {

struct ThreadQueue;

struct MessageBoxRequest {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
};

class Driver {
 public:
  virtual ~Driver() = default;

  // Native windows. The record is already updated when these are called, always on the
  // window's own thread.
  virtual void WindowCreated(Window& w) {}
  virtual void WindowDestroyed(Window& w) {}
  virtual void WindowMoved(Window& w) {}
  virtual void WindowShown(Window& w) {}  // visibility or iconic state changed
  virtual void WindowStacked(Window& w) {}
  virtual void WindowActivated(Window& w) {}
  virtual void WindowFocused(Window& w) {}
  virtual void WindowTextChanged(Window& w) {}
  virtual void WindowStyleChanged(Window& w) {}
  virtual void WindowShapeChanged(Window& w) {}
  // The window's pixels changed inside dirty (client coordinates).
  virtual void Present(Window& w, const RECT& dirty) {}

  virtual void SetCursor(int systemCursorId) {}
  virtual RECT WorkArea() = 0;
  // The system move and size loops. They may return before the user lets go.
  virtual void BeginSystemMove(Window& w) {}
  virtual void BeginSystemSize(Window& w, int edge) {}
  virtual void ToggleDesktop() {}

  // Runs on the user-interface thread; returns the button id. The driver keeps the
  // thread's messages flowing while it waits for the answer.
  virtual int MessageBox(const MessageBoxRequest& request) = 0;

  // Blocks the calling thread until its queue is woken or timeoutMs passes (-1: no limit).
  virtual void Wait(ThreadQueue& queue, int timeoutMs) = 0;
  virtual void Wake(ThreadQueue& queue) = 0;

  // The web engine shown in a child window (the browser control's window); null when the
  // driver has none. The engine lives until the window is destroyed.
  virtual std::unique_ptr<WebEngine> CreateWebEngine(Window& w, WebEngineHost& host) { return nullptr; }
  // The engines' stored data (the URL cache): one source address per entry. Called on any
  // thread; a driver that needs its own thread for them goes there.
  virtual std::vector<std::wstring> UrlCacheEntries() { return {}; }
  virtual bool DeleteUrlCacheEntry(const std::wstring& sourceUrl) { return false; }
};

// The process has one driver, installed by the program, the library or the test main.
void InstallDriver(std::unique_ptr<Driver> driver);
Driver& GetDriver();
bool HasDriver();

}  // namespace glider::core
