// ATL's control-hosting window. Our host knows one control, the web browser: a window of
// class "AtlAxWin90" shows the web page whose address is the window's text.
#pragma once

#include "platform/atlbase.h"
#include "platform/mshtml.h"
#include "platform/winuser.h"

inline constexpr const wchar_t* CAxWindowClassName = L"AtlAxWin90";

inline constexpr IID IID_IAxWinHostWindow = {
    0xB6EA2050, 0x048A, 0x11D1, {0x82, 0xB9, 0x00, 0xC0, 0x4F, 0xB9, 0x94, 0x2E}};
inline constexpr IID IID_IDocHostUIHandlerDispatch = {
    0x425B5AF0, 0x65F1, 0x11D1, {0x96, 0x11, 0x00, 0x00, 0xF8, 0x1E, 0x0D, 0x0D}};

// The host's own UI handler, in effect until a document gets one through ICustomDoc.
struct IDocHostUIHandlerDispatch : IDispatch {
  virtual HRESULT ShowContextMenu(DWORD id, DWORD x, DWORD y, IUnknown* cmdReserved, IDispatch* dispReserved,
                                  HRESULT* result) = 0;
  virtual HRESULT GetHostInfo(DWORD* flags, DWORD* doubleClick) = 0;
  virtual HRESULT ShowUI(DWORD id, IUnknown* active, IUnknown* target, IUnknown* frame, IUnknown* doc,
                         HRESULT* result) = 0;
  virtual HRESULT HideUI() = 0;
  virtual HRESULT UpdateUI() = 0;
  virtual HRESULT EnableModeless(VARIANT_BOOL enable) = 0;
  virtual HRESULT OnDocWindowActivate(VARIANT_BOOL activate) = 0;
  virtual HRESULT OnFrameWindowActivate(VARIANT_BOOL activate) = 0;
  virtual HRESULT ResizeBorder(LONG left, LONG top, LONG right, LONG bottom, IUnknown* window,
                               VARIANT_BOOL frameWindow) = 0;
  virtual HRESULT TranslateAccelerator(DWORD_PTR hwnd, DWORD message, DWORD_PTR wParam, DWORD_PTR lParam,
                                       BSTR group, DWORD cmdId, HRESULT* result) = 0;
  virtual HRESULT GetOptionKeyPath(BSTR* key, DWORD reserved) = 0;
  virtual HRESULT GetDropTarget(IUnknown* dropTarget, IUnknown** replacement) = 0;
  virtual HRESULT GetExternal(IDispatch** external) = 0;
  virtual HRESULT TranslateUrl(DWORD translate, BSTR url, BSTR* translated) = 0;
  virtual HRESULT FilterDataObject(IUnknown* in, IUnknown** out) = 0;

 protected:
  ~IDocHostUIHandlerDispatch() = default;
};

struct IAxWinHostWindow : IUnknown {
  virtual HRESULT SetExternalUIHandler(IDocHostUIHandlerDispatch* handler) = 0;

 protected:
  ~IAxWinHostWindow() = default;
};

// Registers "AtlAxWin90" once per process; later calls do nothing.
BOOL AtlAxWinInit();

class CAxWindow {
 public:
  CAxWindow() = default;
  explicit CAxWindow(HWND hwnd) : m_hWnd(hwnd) {}
  static LPCWSTR GetWndClassName() { return CAxWindowClassName; }
  // The hosted control (IWebBrowser2, IConnectionPointContainer, IDispatch).
  HRESULT QueryControl(REFIID riid, void** out) const;
  // The host window's interfaces (IAxWinHostWindow).
  HRESULT QueryHost(REFIID riid, void** out) const;

  HWND m_hWnd = nullptr;
};
