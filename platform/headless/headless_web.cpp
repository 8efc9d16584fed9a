#include "platform/headless/headless_web.h"

#include <algorithm>
#include <mutex>

#include "platform/core/window/message_queue.h"
#include "platform/exdisp.h"

namespace glider::headless {

namespace {

std::mutex gWebMutex;
std::map<std::wstring, WebPage>& Web() {
  static std::map<std::wstring, WebPage> web;
  return web;
}

std::map<HWND, WebView*>& Views() {
  static std::map<HWND, WebView*> views;
  return views;
}

WebPage Lookup(const std::wstring& url) {
  std::lock_guard<std::mutex> lock(gWebMutex);
  auto it = Web().find(url);
  if (it == Web().end()) it = Web().find(url.substr(0, url.find(L'?')));
  return it == Web().end() ? WebPage{} : it->second;
}

}  // namespace

void Serve(const std::wstring& url, const WebPage& page) {
  std::lock_guard<std::mutex> lock(gWebMutex);
  Web()[url] = page;
}

void ClearWeb() {
  std::lock_guard<std::mutex> lock(gWebMutex);
  Web().clear();
}

WebView* FindWebView(HWND hwnd) {
  auto it = Views().find(hwnd);
  return it == Views().end() ? nullptr : it->second;
}

namespace {
bool gHoldNewViews = false;
}  // namespace

void HoldNewViews(bool hold) { gHoldNewViews = hold; }

WebView::WebView(HWND hwnd, core::WebEngineHost& host) : hwnd_(hwnd), host_(host), hold_(gHoldNewViews) {
  Views()[hwnd] = this;
}

WebView::~WebView() { Views().erase(hwnd_); }

void WebView::Navigate(const std::wstring& url, const std::string& postBody, const std::wstring& headers) {
  requests_.push_back(LoadRequest{url, postBody, headers});
  Queue(Nav{core::kTopFrame, url, postBody});
}

void WebView::Reload() {
  if (hasDocument_) Queue(Nav{core::kTopFrame, url_, {}});
}

void WebView::Stop() { AbortHeld(); }

void WebView::Queue(Nav nav) {
  queue_.push_back(std::move(nav));
  if (settling_ || settlePosted_) return;
  // Like WebKit, the engine answers from the main loop, never inside the call.
  settlePosted_ = true;
  HWND hwnd = hwnd_;
  auto queue = core::CurrentQueue();
  {
    std::lock_guard<std::mutex> lock(queue->mutex);
    queue->calls.push_back([hwnd] {
      if (WebView* view = FindWebView(hwnd)) view->Settle();
    });
  }
  core::Wake(*queue);
}

void WebView::Settle() {
  settlePosted_ = false;
  if (settling_) return;
  settling_ = true;
  while (!queue_.empty()) {
    Nav nav = std::move(queue_.front());
    queue_.erase(queue_.begin());
    Decide(nav);
  }
  settling_ = false;
}

void WebView::Decide(const Nav& nav) {
  if (!host_.BeforeNavigate(nav.frame, nav.url, nav.body.empty() ? nullptr : &nav.body)) return;
  if (nav.frame != core::kTopFrame) {
    Load(nav);
    return;
  }
  // A new top-level load stops the one still waiting.
  AbortHeld();
  external_ = host_.WantsExternal();
  loading_ = true;
  if (hold_) {
    held_.push_back(nav);
    return;
  }
  Load(nav);
}

void WebView::AbortHeld() {
  auto held = std::move(held_);
  held_.clear();
  for (const Nav& nav : held) {
    loading_ = false;
    host_.NavigateError(nav.frame, nav.url, E_ABORT);
  }
}

void WebView::Resume() {
  auto held = std::move(held_);
  held_.clear();
  for (const Nav& nav : held) Load(nav);
}

void WebView::Load(const Nav& nav) {
  bool top = nav.frame == core::kTopFrame;
  WebPage page = Lookup(nav.url);
  if (page.unreachable) {
    if (top) loading_ = false;
    host_.NavigateError(nav.frame, nav.url, INET_E_CANNOT_CONNECT);
    return;
  }
  if (top) {
    url_ = nav.url;
    hasDocument_ = true;
    title_.clear();
    functions_ = std::set<std::wstring>(page.functions.begin(), page.functions.end());
    throwing_.clear();
    scrollbars_.clear();
  }
  if (page.status >= 400 && host_.NavigateError(nav.frame, nav.url, page.status)) {
    if (top) loading_ = false;
    return;
  }
  host_.NavigateComplete(nav.frame, nav.url);
  if (top && !page.title.empty()) SetTitle(page.title);
  if (top) {
    for (size_t i = 0; i < page.frames.size(); ++i)
      Decide(Nav{static_cast<core::FrameId>(i + 1), page.frames[i], {}});
    loading_ = false;
  }
  host_.DocumentComplete(nav.frame, nav.url);
}

bool WebView::HasFunction(const std::wstring& name) { return hasDocument_ && functions_.count(name) > 0; }

bool WebView::CallFunction(const std::wstring& name, const std::vector<core::ScriptValue>& args) {
  if (!hasDocument_ || loading_ || !functions_.count(name)) return false;
  calls_.push_back(PageCall{name, args});
  return !throwing_.count(name);
}

bool WebView::Scrollbars(core::FrameId frame) const {
  auto it = scrollbars_.find(frame);
  return it == scrollbars_.end() || it->second;
}

void WebView::ClickLink(const std::wstring& url) {
  queue_.push_back(Nav{core::kTopFrame, url, {}});
  Settle();
}

void WebView::SubmitForm(const std::wstring& url, const std::string& body) {
  queue_.push_back(Nav{core::kTopFrame, url, body});
  Settle();
}

void WebView::ScriptNavigate(const std::wstring& url) { ClickLink(url); }

void WebView::OpenWindow(const std::wstring& url) {
  host_.NewWindow(url, url_);
  Settle();
}

void WebView::NavigateFrame(core::FrameId frame, const std::wstring& url) {
  queue_.push_back(Nav{frame, url, {}});
  Settle();
}

void WebView::SetTitle(const std::wstring& title) {
  title_ = title;
  host_.TitleChange(title);
}

void WebView::DefineFunction(const std::wstring& name) { functions_.insert(name); }
void WebView::RemoveFunction(const std::wstring& name) { functions_.erase(name); }
void WebView::MakeThrow(const std::wstring& name) { throwing_.insert(name); }

bool WebView::CallExternal(const std::wstring& method, const std::vector<core::ScriptValue>& args) {
  if (!hasDocument_ || !external_) return false;
  return host_.CallExternal(method, args);
}

bool WebView::ContextMenu(POINT screen) { return host_.ShowContextMenu(screen); }

}  // namespace glider::headless
