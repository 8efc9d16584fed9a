// Document objects of the web-browser control: the document, its window and body, and
// the document's UI handler.
#pragma once

#include "platform/oaidl.h"
#include "platform/winuser.h"

inline constexpr IID IID_IHTMLDocument2 = {
    0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
inline constexpr IID IID_IHTMLWindow2 = {
    0x332C4427, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
inline constexpr IID IID_IHTMLElement = {
    0x3050F1FF, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
inline constexpr IID IID_IHTMLBodyElement = {
    0x3050F1D8, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
inline constexpr IID IID_ICustomDoc = {
    0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
inline constexpr IID IID_IDocHostUIHandler = {
    0xBD3F23C0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};

struct IHTMLWindow2 : IDispatch {
  virtual HRESULT focus() = 0;

 protected:
  ~IHTMLWindow2() = default;
};

struct IHTMLElement : IDispatch {
 protected:
  ~IHTMLElement() = default;
};

struct IHTMLBodyElement : IDispatch {
  // "no" hides the document's scroll bars, "yes" and "auto" show them.
  virtual HRESULT put_scroll(BSTR value) = 0;
  virtual HRESULT get_scroll(BSTR* value) = 0;

 protected:
  ~IHTMLBodyElement() = default;
};

struct IHTMLDocument2 : IDispatch {
  // The page's script: its functions are reached by name through GetIDsOfNames and Invoke.
  virtual HRESULT get_Script(IDispatch** script) = 0;
  virtual HRESULT get_parentWindow(IHTMLWindow2** window) = 0;
  virtual HRESULT get_body(IHTMLElement** body) = 0;

 protected:
  ~IHTMLDocument2() = default;
};

// Interfaces that appear only in signatures of the UI handler.
struct IOleInPlaceActiveObject;
struct IOleCommandTarget;
struct IOleInPlaceFrame;
struct IOleInPlaceUIWindow;
struct IDropTarget;
struct IDataObject;

struct DOCHOSTUIINFO {
  ULONG cbSize;
  DWORD dwFlags;
  DWORD dwDoubleClick;
  OLECHAR* pchHostCss;
  OLECHAR* pchHostNS;
};

constexpr DWORD DOCHOSTUIFLAG_DIALOG = 0x00000001;
constexpr DWORD DOCHOSTUIFLAG_DISABLE_HELP_MENU = 0x00000002;
constexpr DWORD DOCHOSTUIFLAG_NO3DBORDER = 0x00000004;
constexpr DWORD DOCHOSTUIFLAG_SCROLL_NO = 0x00000008;
constexpr DWORD DOCHOSTUIFLAG_NO3DOUTERBORDER = 0x00200000;
constexpr DWORD DOCHOSTUIDBLCLK_DEFAULT = 0;

struct IDocHostUIHandler : IUnknown {
  // S_OK: the host showed (or suppressed) the menu; S_FALSE: the browser shows its own.
  virtual HRESULT ShowContextMenu(DWORD id, POINT* pt, IUnknown* cmdReserved, IDispatch* dispReserved) = 0;
  virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info) = 0;
  virtual HRESULT ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                         IOleInPlaceFrame* frame, IOleInPlaceUIWindow* doc) = 0;
  virtual HRESULT HideUI() = 0;
  virtual HRESULT UpdateUI() = 0;
  virtual HRESULT EnableModeless(BOOL enable) = 0;
  virtual HRESULT OnDocWindowActivate(BOOL activate) = 0;
  virtual HRESULT OnFrameWindowActivate(BOOL activate) = 0;
  virtual HRESULT ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) = 0;
  virtual HRESULT TranslateAccelerator(LPMSG msg, const GUID* group, DWORD cmdId) = 0;
  virtual HRESULT GetOptionKeyPath(LPOLESTR* key, DWORD reserved) = 0;
  virtual HRESULT GetDropTarget(IDropTarget* dropTarget, IDropTarget** replacement) = 0;
  // The page's window.external; null gives the page none.
  virtual HRESULT GetExternal(IDispatch** external) = 0;
  virtual HRESULT TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated) = 0;
  virtual HRESULT FilterDataObject(IDataObject* in, IDataObject** out) = 0;

 protected:
  ~IDocHostUIHandler() = default;
};

struct ICustomDoc : IUnknown {
  virtual HRESULT SetUIHandler(IDocHostUIHandler* handler) = 0;

 protected:
  ~ICustomDoc() = default;
};
