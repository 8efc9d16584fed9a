// The headless driver's web engine: a scriptable page per browser window. Tests say what
// addresses serve, then act as the page would (links, forms, scripts, new windows, titles,
// page functions, window.external) and read what the client asked of the engine. Events
// come in the order WebKit gives them: the navigation decision, then the commit (navigate
// complete), the title, sub-frames, and the finished document. Use on the UI thread.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/core/browser/web_engine.h"

namespace glider::headless {

// What an address serves.
struct WebPage {
  int status = 200;          // 400 and above are reported as a navigation error
  bool unreachable = false;  // the load fails before anything is committed
  std::wstring title;
  std::vector<std::wstring> functions;  // page functions defined once loaded
  std::vector<std::wstring> frames;     // addresses of sub-frames loaded with the page
};

// Serves page at url (exact match, else the address without its query). Unknown
// addresses serve an empty page with status 200.
void Serve(const std::wstring& url, const WebPage& page);
void ClearWeb();
// Views created from now on start with their loads held (see WebView::HoldLoads).
void HoldNewViews(bool hold);

struct PageCall {
  std::wstring name;
  std::vector<core::ScriptValue> args;
};

struct LoadRequest {
  std::wstring url;
  std::string body;
  std::wstring headers;
};

class WebView final : public core::WebEngine {
 public:
  WebView(HWND hwnd, core::WebEngineHost& host);
  ~WebView() override;

  // core::WebEngine
  void Navigate(const std::wstring& url, const std::string& postBody, const std::wstring& headers) override;
  void Reload() override;
  void Stop() override;
  std::wstring Url() override { return url_; }
  bool HasDocument() override { return hasDocument_; }
  bool Loading() override { return loading_; }
  bool HasFunction(const std::wstring& name) override;
  bool CallFunction(const std::wstring& name, const std::vector<core::ScriptValue>& args) override;
  void Focus() override { ++focusCount_; }
  void SetScrollbars(core::FrameId frame, bool show) override { scrollbars_[frame] = show; }
  void SetDropTarget(bool accept) override { acceptsDrops_ = accept; }

  // Test side.
  HWND Hwnd() const { return hwnd_; }
  std::wstring Title() const { return title_; }
  const std::vector<LoadRequest>& Requests() const { return requests_; }
  const std::vector<PageCall>& Calls() const { return calls_; }
  bool Scrollbars(core::FrameId frame = core::kTopFrame) const;
  bool AcceptsDrops() const { return acceptsDrops_; }
  int FocusCount() const { return focusCount_; }
  bool HasExternal() const { return external_; }

  // The page acts; everything that follows from it happens before these return.
  void ClickLink(const std::wstring& url);
  void SubmitForm(const std::wstring& url, const std::string& body);
  void ScriptNavigate(const std::wstring& url);
  // window.open, or a link or form aimed at a new window.
  void OpenWindow(const std::wstring& url);
  void NavigateFrame(core::FrameId frame, const std::wstring& url);
  void SetTitle(const std::wstring& title);
  void DefineFunction(const std::wstring& name);
  void RemoveFunction(const std::wstring& name);
  // The function throws when called.
  void MakeThrow(const std::wstring& name);
  // window.external[method](args); false when the page has no such object or method.
  bool CallExternal(const std::wstring& method, const std::vector<core::ScriptValue>& args);
  // A right click; true when the engine's own menu would show.
  bool ContextMenu(POINT screen);

  // Accepted navigations wait (loading) until Resume.
  void HoldLoads(bool hold) { hold_ = hold; }
  void Resume();
  // Runs the navigations the client asked for now (they also run from the message loop).
  void Settle();

 private:
  struct Nav {
    core::FrameId frame;
    std::wstring url;
    std::string body;
  };
  void Queue(Nav nav);
  void Decide(const Nav& nav);
  void Load(const Nav& nav);
  void AbortHeld();

  HWND hwnd_;
  core::WebEngineHost& host_;
  std::vector<Nav> queue_;
  std::vector<Nav> held_;
  bool settling_ = false;
  bool hold_ = false;
  bool settlePosted_ = false;

  std::wstring url_;
  std::wstring title_;
  bool hasDocument_ = false;
  bool loading_ = false;
  bool external_ = false;
  std::set<std::wstring> functions_;
  std::set<std::wstring> throwing_;
  std::map<core::FrameId, bool> scrollbars_;
  bool acceptsDrops_ = true;
  int focusCount_ = 0;
  std::vector<LoadRequest> requests_;
  std::vector<PageCall> calls_;
};

// The engine of a browser window (class "AtlAxWin90" or a superclass), or null.
WebView* FindWebView(HWND hwnd);

}  // namespace glider::headless
