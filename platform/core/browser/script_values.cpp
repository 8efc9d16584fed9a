#include "platform/core/browser/script_values.h"

#include <cmath>
#include <limits>

namespace glider::core {

void ToVariant(const ScriptValue& value, VARIANT* out) {
  VariantInit(out);
  switch (value.kind) {
    case ScriptValue::Kind::Number: {
      double n = value.number;
      if (std::isfinite(n) && n == std::trunc(n) && n >= std::numeric_limits<int32_t>::min() &&
          n <= std::numeric_limits<int32_t>::max()) {
        out->vt = VT_I4;
        out->lVal = static_cast<LONG>(n);
      } else {
        out->vt = VT_R8;
        out->dblVal = n;
      }
      break;
    }
    case ScriptValue::Kind::String:
      out->vt = VT_BSTR;
      out->bstrVal = SysAllocStringLen(value.text.data(), static_cast<UINT>(value.text.size()));
      break;
    case ScriptValue::Kind::Bool:
      out->vt = VT_BOOL;
      out->boolVal = value.flag ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case ScriptValue::Kind::Null:
      out->vt = VT_NULL;
      break;
    case ScriptValue::Kind::Undefined:
      break;
  }
}

ScriptValue FromVariant(const VARIANT& v) {
  if (v.vt == (VT_BYREF | VT_VARIANT) && v.pvarVal) return FromVariant(*v.pvarVal);
  switch (v.vt) {
    case VT_I4:
      return ScriptValue::Number(v.lVal);
    case VT_INT:
      return ScriptValue::Number(v.intVal);
    case VT_UI4:
      return ScriptValue::Number(v.ulVal);
    case VT_UINT:
      return ScriptValue::Number(v.uintVal);
    case VT_I2:
      return ScriptValue::Number(v.iVal);
    case VT_UI1:
      return ScriptValue::Number(v.bVal);
    case VT_R8:
      return ScriptValue::Number(v.dblVal);
    case VT_BOOL:
      return ScriptValue::Bool(v.boolVal != VARIANT_FALSE);
    case VT_BSTR:
      return ScriptValue::String(v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal))
                                           : std::wstring());
    case VT_NULL:
      return ScriptValue{ScriptValue::Kind::Null, 0, false, {}};
    default:
      return ScriptValue{};
  }
}

std::vector<ScriptValue> ArgumentsOf(const DISPPARAMS* params) {
  std::vector<ScriptValue> out;
  if (!params || !params->rgvarg) return out;
  for (UINT i = params->cArgs; i > 0; --i) out.push_back(FromVariant(params->rgvarg[i - 1]));
  return out;
}

VariantArgs::VariantArgs(const std::vector<ScriptValue>& args) : reversed_(args.size()) {
  for (size_t i = 0; i < args.size(); ++i) ToVariant(args[i], &reversed_[args.size() - 1 - i]);
}

VariantArgs::~VariantArgs() {
  for (VARIANT& v : reversed_) VariantClear(&v);
}

DISPPARAMS* VariantArgs::Params() {
  params_ = DISPPARAMS{reversed_.empty() ? nullptr : reversed_.data(), nullptr,
                       static_cast<UINT>(reversed_.size()), 0};
  return &params_;
}

}  // namespace glider::core
