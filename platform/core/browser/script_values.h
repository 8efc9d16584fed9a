// Conversions between automation VARIANTs and the values page script passes.
#pragma once

#include <vector>

#include "platform/core/browser/web_engine.h"
#include "platform/oleauto.h"

namespace glider::core {

// A whole number that fits 32 bits becomes VT_I4, any other number VT_R8, a string VT_BSTR.
void ToVariant(const ScriptValue& value, VARIANT* out);
ScriptValue FromVariant(const VARIANT& v);
// The positional arguments of a call, first argument first (DISPPARAMS holds them reversed).
std::vector<ScriptValue> ArgumentsOf(const DISPPARAMS* params);

// Arguments built for an IDispatch call; frees what it allocated.
class VariantArgs {
 public:
  VariantArgs() = default;
  explicit VariantArgs(const std::vector<ScriptValue>& args);
  VariantArgs(const VariantArgs&) = delete;
  VariantArgs& operator=(const VariantArgs&) = delete;
  ~VariantArgs();
  DISPPARAMS* Params();

 private:
  std::vector<VARIANT> reversed_;
  DISPPARAMS params_{};
};

}  // namespace glider::core
