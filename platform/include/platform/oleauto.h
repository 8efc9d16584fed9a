// OLE automation helpers: BSTR, VARIANT and one-dimensional SAFEARRAYs.
#pragma once

#include "platform/oaidl.h"

// Null for a null input; the string holds the characters up to the terminator.
BSTR SysAllocString(const OLECHAR* text);
// len characters of text (or uninitialised when text is null), terminated.
BSTR SysAllocStringLen(const OLECHAR* text, UINT len);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

void VariantInit(VARIANTARG* v);
// Frees what the VARIANT owns (BSTR, array, interface) and makes it VT_EMPTY.
HRESULT VariantClear(VARIANTARG* v);
HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* src);

// Only VT_UI1 and VT_VARIANT arrays are supported.
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayDestroy(SAFEARRAY* array);

constexpr HRESULT DISP_E_ARRAYISLOCKED = static_cast<HRESULT>(0x8002000D);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
