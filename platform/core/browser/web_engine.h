// What a driver's web engine does for the browser control, and what it reports back.
// Everything runs on the user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "platform/windef.h"

namespace glider::core {

// A value passed between the client and page script.
struct ScriptValue {
  enum class Kind { Undefined, Null, Bool, Number, String };
  Kind kind = Kind::Undefined;
  double number = 0;
  bool flag = false;
  std::wstring text;

  static ScriptValue Number(double n) { return ScriptValue{Kind::Number, n, false, {}}; }
  static ScriptValue String(std::wstring s) { return ScriptValue{Kind::String, 0, false, std::move(s)}; }
  static ScriptValue Bool(bool b) { return ScriptValue{Kind::Bool, 0, b, {}}; }
};

// Frames of a page; the top frame is the main frame.
using FrameId = int;
constexpr FrameId kTopFrame = 0;

// Implemented by the core's browser control.
class WebEngineHost {
 public:
  // A navigation of frame is about to start. false: the engine ignores it, which is an
  // aborted navigation and never an error. postData is null where the engine does not
  // expose the body.
  virtual bool BeforeNavigate(FrameId frame, const std::wstring& url, const std::string* postData) = 0;
  // The page asked for a new window (a link or form aimed at one, or a script). Engines
  // never open one.
  virtual void NewWindow(const std::wstring& url, const std::wstring& referrer) = 0;
  // The frame's new document is committed.
  virtual void NavigateComplete(FrameId frame, const std::wstring& url) = 0;
  virtual void DocumentComplete(FrameId frame, const std::wstring& url) = 0;
  // A failed load: an HTTP status of 400 or more, or an error code (E_ABORT when it was
  // stopped). true: show no error page and report nothing more of this load.
  virtual bool NavigateError(FrameId frame, const std::wstring& url, HRESULT status) = 0;
  virtual void TitleChange(const std::wstring& title) = 0;
  // Whether documents from now on get a window.external object.
  virtual bool WantsExternal() = 0;
  // The page called window.external[method](args). false: no such object or method.
  virtual bool CallExternal(const std::wstring& method, const std::vector<ScriptValue>& args) = 0;
  // true: the engine shows its standard context menu.
  virtual bool ShowContextMenu(POINT screen) = 0;

 protected:
  ~WebEngineHost() = default;
};

class WebEngine {
 public:
  virtual ~WebEngine() = default;
  // Starts a navigation of the top frame; a non-empty body is posted.
  virtual void Navigate(const std::wstring& url, const std::string& postBody,
                        const std::wstring& headers) = 0;
  virtual void Reload() = 0;
  virtual void Stop() = 0;
  virtual std::wstring Url() = 0;
  // A document of the top frame has been committed.
  virtual bool HasDocument() = 0;
  virtual bool Loading() = 0;
  // Functions of the top document's script, by name. Calls wait for the page.
  virtual bool HasFunction(const std::wstring& name) = 0;
  virtual bool CallFunction(const std::wstring& name, const std::vector<ScriptValue>& args) = 0;
  virtual void Focus() = 0;
  virtual void SetScrollbars(FrameId frame, bool show) = 0;
  virtual void SetDropTarget(bool accept) = 0;
};

}  // namespace glider::core
