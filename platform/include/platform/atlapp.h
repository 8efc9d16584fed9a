// The pieces of WTL's application framework the client uses: the application module,
// the message loop and its message filters.
#pragma once

#include <vector>

#include "platform/winuser.h"

class CMessageFilter {
 public:
  virtual BOOL PreTranslateMessage(MSG* msg) = 0;

 protected:
  ~CMessageFilter() = default;
};

class CMessageLoop {
 public:
  BOOL AddMessageFilter(CMessageFilter* filter);
  BOOL RemoveMessageFilter(CMessageFilter* filter);
  // Offers msg to the filters, the last added first; TRUE when one consumed it.
  BOOL PreTranslateMessage(MSG* msg);
  // Runs until WM_QUIT and returns its exit code.
  int Run();

 private:
  std::vector<CMessageFilter*> filters_;
};

class CAppModule {
 public:
  HRESULT Init(void* objectMap, HINSTANCE instance);
  void Term();
  // Registers the loop of the calling thread.
  BOOL AddMessageLoop(CMessageLoop* loop);
  BOOL RemoveMessageLoop();
  CMessageLoop* GetMessageLoop() const;
  HINSTANCE GetModuleInstance() const { return instance_; }

 private:
  HINSTANCE instance_ = nullptr;
};
