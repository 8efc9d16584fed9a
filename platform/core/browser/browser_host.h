// The browser control behind a window of class "AtlAxWin90": the web engine the driver
// provides, the control's COM objects, its event sinks and the documents' UI handlers.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/atlhost.h"
#include "platform/core/browser/web_engine.h"
#include "platform/exdisp.h"

namespace glider::core {

class BrowserHost;
class BrowserObject;

// Lets COM objects handed out outlive their control: the link goes null when it is gone.
struct HostLink {
  BrowserHost* host = nullptr;
};

class BrowserHost final : public WebEngineHost {
 public:
  explicit BrowserHost(HWND hwnd);
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  WebEngine* Engine() { return engine_.get(); }
  HWND Hwnd() const { return hwnd_; }
  BrowserObject* Control() { return control_; }
  // The dispatch pointer of a frame: the control itself for the top frame.
  IDispatch* FrameDispatch(FrameId frame);
  // Bumped for every committed top document; objects of older documents stop working.
  unsigned DocumentSerial() const { return documentSerial_; }
  bool FrameHasDocument(FrameId frame);

  // Connection point of DWebBrowserEvents2.
  DWORD AddSink(IDispatch* sink);
  bool RemoveSink(DWORD cookie);

  void SetDocumentUIHandler(IDocHostUIHandler* handler);
  void SetExternalUIHandler(IDocHostUIHandlerDispatch* handler);

  // Ids of page functions for the script object: stable per name.
  DISPID ScriptId(const std::wstring& name);
  const std::wstring* ScriptName(DISPID id) const;

  // WebEngineHost
  bool BeforeNavigate(FrameId frame, const std::wstring& url, const std::string* postData) override;
  void NewWindow(const std::wstring& url, const std::wstring& referrer) override;
  void NavigateComplete(FrameId frame, const std::wstring& url) override;
  void DocumentComplete(FrameId frame, const std::wstring& url) override;
  bool NavigateError(FrameId frame, const std::wstring& url, HRESULT status) override;
  void TitleChange(const std::wstring& title) override;
  bool WantsExternal() override;
  bool CallExternal(const std::wstring& method, const std::vector<ScriptValue>& args) override;
  bool ShowContextMenu(POINT screen) override;

  std::shared_ptr<HostLink> link = std::make_shared<HostLink>();

 private:
  void Fire(DISPID id, DISPPARAMS* params);
  IDispatch* External();
  void ApplyHostInfo();

  HWND hwnd_;
  std::unique_ptr<WebEngine> engine_;
  BrowserObject* control_ = nullptr;
  std::map<FrameId, BrowserObject*> frames_;
  std::vector<FrameId> committedFrames_;
  std::vector<std::pair<DWORD, IDispatch*>> sinks_;
  DWORD nextCookie_ = 1;
  IDocHostUIHandler* docHandler_ = nullptr;
  IDocHostUIHandlerDispatch* hostHandler_ = nullptr;
  unsigned documentSerial_ = 0;
  std::map<std::wstring, DISPID> scriptIds_;
};

// The control of a window of class "AtlAxWin90", or null.
BrowserHost* HostOf(HWND hwnd);

// COM objects of the control and its documents (document_objects.cpp).
BrowserObject* NewBrowserObject(std::shared_ptr<HostLink> link, FrameId frame);
IDispatch* AsDispatch(BrowserObject* object);
void ReleaseObject(BrowserObject* object);
HRESULT NewDocument(std::shared_ptr<HostLink> link, FrameId frame, IDispatch** out);

}  // namespace glider::core
