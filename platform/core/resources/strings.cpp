#include <algorithm>
#include <string>

#include "platform/core/resource_module.h"
#include "platform/winres.h"

namespace {

const glider::core::ResourceModule* ModuleOf(HINSTANCE instance) {
  return reinterpret_cast<const glider::core::ResourceModule*>(instance);
}

// Resource strings are stored as UTF-8.
std::wstring FromUtf8(const unsigned char* p, size_t n) {
  std::wstring out;
  size_t i = 0;
  while (i < n) {
    unsigned c = p[i];
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > n) {
      out.push_back(L'\uFFFD');
      ++i;
      continue;
    }
    unsigned cp = len == 1 ? c : c & (0x7Fu >> len);
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (p[i + k] & 0x3Fu);
    out.push_back(static_cast<wchar_t>(cp));
    i += len;
  }
  return out;
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
  std::wstring text = FromUtf8(entry->data, entry->size);
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
