// The web-browser control: IWebBrowser2 as far as the browser view uses it, and the
// dispatch ids of its DWebBrowserEvents2 events.
#pragma once

#include "platform/oaidl.h"

inline constexpr IID IID_IWebBrowser2 = {
    0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
inline constexpr IID DIID_DWebBrowserEvents2 = {
    0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

struct IWebBrowser2 : IDispatch {
  // URL is a VT_BSTR; PostData a VT_ARRAY | VT_UI1 body (sent as POST) or empty; Headers a
  // VT_BSTR or empty. Flags and TargetFrameName are not supported and must be empty.
  virtual HRESULT Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                            VARIANT* Headers) = 0;
  virtual HRESULT Refresh() = 0;
  virtual HRESULT Stop() = 0;
  virtual HRESULT get_LocationURL(BSTR* url) = 0;
  virtual HRESULT get_Busy(VARIANT_BOOL* busy) = 0;
  // S_OK with null while no document has been loaded.
  virtual HRESULT get_Document(IDispatch** document) = 0;
  virtual HRESULT put_Silent(VARIANT_BOOL silent) = 0;
  virtual HRESULT put_RegisterAsDropTarget(VARIANT_BOOL accept) = 0;

 protected:
  ~IWebBrowser2() = default;
};

// DWebBrowserEvents2
constexpr DISPID DISPID_TITLECHANGE = 113;
constexpr DISPID DISPID_BEFORENAVIGATE2 = 250;
constexpr DISPID DISPID_NEWWINDOW2 = 251;
constexpr DISPID DISPID_NAVIGATECOMPLETE2 = 252;
constexpr DISPID DISPID_DOCUMENTCOMPLETE = 259;
constexpr DISPID DISPID_NAVIGATEERROR = 271;
constexpr DISPID DISPID_NEWWINDOW3 = 273;

// NewWindow3 flags.
constexpr DWORD NWMF_USERINITED = 0x00000002;
constexpr DWORD NWMF_FIRST = 0x00000004;

// Status codes of NavigateError besides HTTP statuses.
constexpr HRESULT INET_E_CANNOT_CONNECT = static_cast<HRESULT>(0x800C0004);
constexpr HRESULT INET_E_RESOURCE_NOT_FOUND = static_cast<HRESULT>(0x800C0005);
constexpr HRESULT INET_E_DOWNLOAD_FAILURE = static_cast<HRESULT>(0x800C0008);
