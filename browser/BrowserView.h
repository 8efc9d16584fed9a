// The child window in which every page of the client is shown: the hosted web-browser
// control, its events turned into web notifications for the owning window, and the UI
// handler of its documents.
#pragma once

#include <atomic>
#include <string>

#include "browser/WebNotify.h"
#include "platform/atlhost.h"
#include "platform/exdisp.h"

class CBrowserView : public CAxWindow,
                     public IDispEventSimpleImpl<1, CBrowserView, &DIID_DWebBrowserEvents2>,
                     public IDocHostUIHandlerDispatch,
                     public IDocHostUIHandler {
 public:
  CBrowserView();
  CBrowserView(const CBrowserView&) = delete;
  CBrowserView& operator=(const CBrowserView&) = delete;

  // Window part, in slot order.
  virtual BOOL ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                    DWORD mapId);
  virtual ~CBrowserView();
  virtual WNDPROC GetWindowProc();
  virtual void OnFinalMessage(HWND hwnd);
  virtual BOOL PreTranslateMessage(MSG* msg);

  HWND CreateBrowser(const std::wstring& url, HWND parent, const RECT& rect);
  bool Navigate(const std::wstring& url, const std::string& postData);
  void Refresh();
  void FocusPage();
  // Counted; the caller releases it. Null while there is no page to call into.
  IDispatch* GetScript();
  std::wstring GetLastUrl() const { return lastUrl; }

  // DWebBrowserEvents2, delivered by the event sink.
  void OnSinkEvent(UINT id, DISPID dispid, DISPPARAMS* params);
  void DocumentComplete(IDispatch* pDisp, VARIANT* url);
  void TitleChange(BSTR text);
  void BeforeNavigate2(IDispatch* pDisp, VARIANT* url, VARIANT* flags, VARIANT* targetFrameName,
                       VARIANT* postData, VARIANT* headers, VARIANT_BOOL* cancel);
  void NewWindow2(IDispatch** ppDisp, VARIANT_BOOL* cancel);
  void NewWindow3(IDispatch** ppDisp, VARIANT_BOOL* cancel, DWORD flags, BSTR urlContext, BSTR url);
  void NavigateError(IDispatch* pDisp, VARIANT* url, VARIANT* frame, VARIANT* statusCode,
                     VARIANT_BOOL* cancel);
  void NavigateComplete2(IDispatch* pDisp, VARIANT* url);

  // IUnknown of both UI handlers.
  HRESULT QueryInterface(REFIID riid, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;

  // IDispatch of IDocHostUIHandlerDispatch: the host calls its members directly.
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excepInfo, UINT* argErr) override;

  // IDocHostUIHandlerDispatch (members whose signature both handlers share serve both).
  HRESULT ShowContextMenu(DWORD id, DWORD x, DWORD y, IUnknown* cmdReserved, IDispatch* dispReserved,
                          HRESULT* result) override;
  HRESULT GetHostInfo(DWORD* flags, DWORD* doubleClick) override;
  HRESULT ShowUI(DWORD id, IUnknown* active, IUnknown* target, IUnknown* frame, IUnknown* doc,
                 HRESULT* result) override;
  HRESULT HideUI() override;
  HRESULT UpdateUI() override;
  HRESULT EnableModeless(VARIANT_BOOL enable) override;
  HRESULT OnDocWindowActivate(VARIANT_BOOL activate) override;
  HRESULT OnFrameWindowActivate(VARIANT_BOOL activate) override;
  HRESULT ResizeBorder(LONG left, LONG top, LONG right, LONG bottom, IUnknown* window,
                       VARIANT_BOOL frameWindow) override;
  HRESULT TranslateAccelerator(DWORD_PTR hwnd, DWORD message, DWORD_PTR wParam, DWORD_PTR lParam, BSTR group,
                               DWORD cmdId, HRESULT* result) override;
  HRESULT GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
  HRESULT GetDropTarget(IUnknown* dropTarget, IUnknown** replacement) override;
  HRESULT GetExternal(IDispatch** external) override;
  HRESULT TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) override;
  HRESULT FilterDataObject(IUnknown* in, IUnknown** out) override;

  // IDocHostUIHandler
  HRESULT ShowContextMenu(DWORD id, POINT* pt, IUnknown* cmdReserved, IDispatch* dispReserved) override;
  HRESULT GetHostInfo(DOCHOSTUIINFO* info) override;
  HRESULT ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                 IOleInPlaceFrame* frame, IOleInPlaceUIWindow* doc) override;
  HRESULT EnableModeless(BOOL enable) override;
  HRESULT OnDocWindowActivate(BOOL activate) override;
  HRESULT OnFrameWindowActivate(BOOL activate) override;
  HRESULT ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
  HRESULT TranslateAccelerator(LPMSG msg, const GUID* group, DWORD cmdId) override;
  HRESULT GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) override;
  HRESULT FilterDataObject(IDataObject* in, IDataObject** out) override;

  CWebNotify notify;
  bool navigatePending = false;
  IDispatch* topFrame = nullptr;  // not counted; compared by value
  std::atomic<int32_t> refCount{0};
  std::wstring lastUrl;
  std::string lastPostData;
  bool noScroll = true;
  bool cancelNavigation = false;
  bool blockNewWindows = false;
  bool newWindowPending = false;

 private:
  static LRESULT ViewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallSuper(UINT msg, WPARAM wParam, LPARAM lParam);
  void FireView(unsigned int code);
};
