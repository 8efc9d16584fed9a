// Web notifications: (code, wParam, lParam) calls from a view or a page bridge to member
// functions of the window that owns it, delivered synchronously in subscription order.
#pragma once

#include <cstdint>
#include <vector>

enum WebNotifyCode : unsigned int {
  WN_DOCUMENT_COMPLETE = 0,
  WN_NAVIGATE_ERROR = 1,
  WN_GET_EXTERNAL = 2,
  WN_BEFORE_NAVIGATE = 7,
  WN_NAVIGATE_COMPLETE = 8,
  WN_TITLE_CHANGE = 9,
  WN_NAVIGATE_BLOCKED = 10,
};

// wParam and lParam carry pointers (the view, a title, the out-pointer of window.external,
// the text of a bridge call), so both are pointer-sized here.
using WebNotifyWord = uintptr_t;
using WebNotifyParam = intptr_t;

class ICWebNotifyEventHandler {
 public:
  virtual void OnNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam) = 0;
  virtual ~ICWebNotifyEventHandler() = default;
};

template <typename Handler>
class CFEvent {
 public:
  CFEvent() = default;
  CFEvent(const CFEvent&) = delete;
  CFEvent& operator=(const CFEvent&) = delete;
  virtual ~CFEvent() {
    for (Handler* h : handlers) delete h;
  }
  std::vector<Handler*> handlers;
};

class CWebNotify : public CFEvent<ICWebNotifyEventHandler> {
 public:
  ~CWebNotify() override = default;
};

template <typename Form, typename Fn>
class CEventHandler : public ICWebNotifyEventHandler {
 public:
  CEventHandler(Form* t, Fn fn) : target(t), handlerFn(fn) {}
  void OnNotify(unsigned int, WebNotifyWord, WebNotifyParam) override {}
  ~CEventHandler() override = default;
  Form* target;
  Fn handlerFn;
};

template <typename Form, typename Fn>
class CCWebNotifyEventHandler : public CEventHandler<Form, Fn> {
 public:
  using CEventHandler<Form, Fn>::CEventHandler;
  void OnNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam) override {
    Form* form = this->target;
    Fn fn = this->handlerFn;
    (form->*fn)(code, wParam, lParam);
  }
};

// Appends a handler that calls fn on form; the source owns it.
template <typename Form>
ICWebNotifyEventHandler* Subscribe(CWebNotify& source, Form* form,
                                   void (Form::*fn)(unsigned int, WebNotifyWord, WebNotifyParam)) {
  using Fn = void (Form::*)(unsigned int, WebNotifyWord, WebNotifyParam);
  auto* handler = new CCWebNotifyEventHandler<Form, Fn>(form, fn);
  source.handlers.push_back(handler);
  return handler;
}

inline void Fire(CWebNotify& source, unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam) {
  // By index: a handler subscribing during delivery must not invalidate the walk.
  for (size_t i = 0; i < source.handlers.size(); ++i)
    if (ICWebNotifyEventHandler* h = source.handlers[i]) h->OnNotify(code, wParam, lParam);
}
