#include <algorithm>
#include <string>

#include "platform/core/resource_module.h"
#include "platform/core/text/utf.h"
#include "platform/winres.h"

namespace {

const glider::core::ResourceModule* ModuleOf(HINSTANCE instance) {
  return reinterpret_cast<const glider::core::ResourceModule*>(instance);
}

}  // namespace

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
  const auto* module = ModuleOf(instance);
  if (!module || !buffer || size <= 0) return 0;
  const auto* entry = module->Find(glider::core::ResourceKind::String, id);
  if (!entry) {
    buffer[0] = L'\0';
    return 0;
  }
  // Resource strings are stored as UTF-8.
  std::wstring text =
      glider::core::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(entry->data), entry->size));
  int n = std::min(static_cast<int>(text.size()), size - 1);
  std::copy_n(text.data(), n, buffer);
  buffer[n] = L'\0';
  return n;
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
  const auto* module = ModuleOf(instance);
  if (!module || !IS_INTRESOURCE(name)) return nullptr;
  const auto* entry =
      module->Find(glider::core::ResourceKind::Icon, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name)));
  return entry ? reinterpret_cast<HICON>(const_cast<glider::core::ResourceEntry*>(entry)) : nullptr;
}
