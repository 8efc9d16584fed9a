// BSTR, VARIANT, SAFEARRAY and the values passed between the client and page script.
#include <gtest/gtest.h>

#include "platform/core/browser/script_values.h"
#include "platform/oleauto.h"

using glider::core::FromVariant;
using glider::core::ScriptValue;
using glider::core::ToVariant;

namespace {

TEST(Bstr, KeepsItsLengthAndEmbeddedNulls) {
  BSTR s = SysAllocStringLen(L"a\0b", 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(s[3], L'\0');
  SysFreeString(s);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
}

TEST(SafeArray, ByteVectorBoundsDataAndLocks) {
  SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, 5);
  ASSERT_NE(a, nullptr);
  LONG lo = -1, hi = -1;
  EXPECT_EQ(SafeArrayGetLBound(a, 1, &lo), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(a, 1, &hi), S_OK);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 4);
  EXPECT_EQ(SafeArrayGetUBound(a, 2, &hi), DISP_E_BADINDEX);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
  EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ARRAY | VT_UI1;
  v.parray = a;
  VARIANT copy;
  VariantInit(&copy);
  EXPECT_EQ(VariantCopy(&copy, &v), S_OK);
  EXPECT_NE(copy.parray, a);
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(&copy), S_OK);
  EXPECT_EQ(SafeArrayCreateVector(VT_BSTR, 0, 1), nullptr);
}

TEST(ScriptValues, WholeThirtyTwoBitNumbersAreI4OthersR8) {
  struct Case {
    double n;
    VARTYPE vt;
  } cases[] = {{101, VT_I4},          {-5, VT_I4},    {2147483647.0, VT_I4},
               {2147483648.0, VT_R8}, {101.5, VT_R8}, {-2147483649.0, VT_R8},
               {0.1, VT_R8}};
  for (const Case& c : cases) {
    VARIANT v;
    ToVariant(ScriptValue::Number(c.n), &v);
    EXPECT_EQ(v.vt, c.vt) << c.n;
    EXPECT_EQ(FromVariant(v).number, c.n);
    VariantClear(&v);
  }
  VARIANT s;
  ToVariant(ScriptValue::String(L"只 text"), &s);
  ASSERT_EQ(s.vt, VT_BSTR);
  EXPECT_STREQ(s.bstrVal, L"只 text");
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_BYREF | VT_VARIANT;
  ref.pvarVal = &s;
  EXPECT_EQ(FromVariant(ref).text, L"只 text");
  VariantClear(&s);
}

}  // namespace
