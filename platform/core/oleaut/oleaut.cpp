// BSTR, VARIANT and SAFEARRAY.
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/oleauto.h"

namespace {

constexpr USHORT kFeatureVariant = 0x0800;  // FADF_VARIANT: elements are VARIANTs

// The length prefix sits right before the characters.
uint32_t* PrefixOf(BSTR s) { return reinterpret_cast<uint32_t*>(s) - 1; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT len) {
  size_t bytes = sizeof(uint32_t) + (static_cast<size_t>(len) + 1) * sizeof(OLECHAR);
  // OLECHAR alignment equals the prefix's, so the characters start aligned.
  auto* block = static_cast<uint32_t*>(std::malloc(bytes));
  if (!block) return nullptr;
  block[0] = static_cast<uint32_t>(len * sizeof(OLECHAR));
  BSTR s = reinterpret_cast<BSTR>(block + 1);
  if (text) std::wmemcpy(s, text, len);
  s[len] = 0;
  return s;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(std::wcslen(text)));
}

void SysFreeString(BSTR text) {
  if (text) std::free(PrefixOf(text));
}

UINT SysStringLen(BSTR text) { return text ? *PrefixOf(text) / sizeof(OLECHAR) : 0; }

void VariantInit(VARIANTARG* v) {
  if (!v) return;
  std::memset(v, 0, sizeof(*v));
  v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* v) {
  if (!v) return E_INVALIDARG;
  if (!(v->vt & VT_BYREF)) {
    if (v->vt & VT_ARRAY) {
      SafeArrayDestroy(v->parray);
    } else {
      switch (v->vt) {
        case VT_BSTR:
          SysFreeString(v->bstrVal);
          break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
          if (v->punkVal) v->punkVal->Release();
          break;
        default:
          break;
      }
    }
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* src) {
  if (!dest || !src) return E_INVALIDARG;
  if (dest == src) return S_OK;
  VariantClear(dest);
  VARIANT copy = *src;
  if (!(src->vt & VT_BYREF)) {
    if (src->vt & VT_ARRAY) {
      SAFEARRAY* a = src->parray;
      if (a) {
        if (a->fFeatures & kFeatureVariant) return DISP_E_BADVARTYPE;
        copy.parray = SafeArrayCreateVector(static_cast<VARTYPE>(src->vt & ~VT_ARRAY),
                                            a->rgsabound[0].lLbound, a->rgsabound[0].cElements);
        if (!copy.parray) return E_OUTOFMEMORY;
        std::memcpy(copy.parray->pvData, a->pvData, a->rgsabound[0].cElements * a->cbElements);
      }
    } else if (src->vt == VT_BSTR && src->bstrVal) {
      copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
      if (!copy.bstrVal) return E_OUTOFMEMORY;
    } else if ((src->vt == VT_DISPATCH || src->vt == VT_UNKNOWN) && src->punkVal) {
      src->punkVal->AddRef();
    }
  }
  *dest = copy;
  return S_OK;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
  size_t size = vt == VT_UI1 ? 1 : vt == VT_VARIANT ? sizeof(VARIANT) : 0;
  if (size == 0) return nullptr;
  auto* a = new (std::nothrow) SAFEARRAY{};
  if (!a) return nullptr;
  a->cDims = 1;
  a->fFeatures = vt == VT_VARIANT ? kFeatureVariant : 0;
  a->cbElements = static_cast<ULONG>(size);
  a->rgsabound[0] = SAFEARRAYBOUND{elements, lowerBound};
  a->pvData = std::calloc(elements ? elements : 1, size);
  if (!a->pvData) {
    delete a;
    return nullptr;
  }
  return a;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
  if (!array || !data) return E_INVALIDARG;
  ++array->cLocks;
  *data = array->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  if (array->cLocks == 0) return E_UNEXPECTED;
  --array->cLocks;
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  *bound = array->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  *bound = array->rgsabound[0].lLbound + static_cast<LONG>(array->rgsabound[0].cElements) - 1;
  return S_OK;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
  if (!array) return S_OK;
  if (array->cLocks) return DISP_E_ARRAYISLOCKED;
  if (array->fFeatures & kFeatureVariant) {
    auto* items = static_cast<VARIANT*>(array->pvData);
    for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i) VariantClear(&items[i]);
  }
  std::free(array->pvData);
  delete array;
  return S_OK;
}
