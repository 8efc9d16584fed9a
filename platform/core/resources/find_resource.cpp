// FindResourceW and friends over the compiled resource table. An HRSRC is the
// table entry; a loaded resource is the entry's bytes, which never move.
#include <cwctype>

#include "platform/core/resources/module.h"
#include "platform/winresource.h"

namespace glider::core {
namespace {

bool SameName(LPCWSTR a, const wchar_t* b) {
  for (; *a && *b; ++a, ++b)
    if (std::towupper(*a) != std::towupper(*b)) return false;
  return *a == *b;
}

bool KindOfType(LPCWSTR type, ResourceKind* kind) {
  if (type == nullptr) return false;
  if (!IS_INTRESOURCE(type)) {
    if (!SameName(type, L"PNG")) return false;
    *kind = ResourceKind::Png;
    return true;
  }
  switch (reinterpret_cast<uintptr_t>(type)) {
    case 2:
      *kind = ResourceKind::Bitmap;
      return true;
    case 3:
    case 14:
      *kind = ResourceKind::Icon;
      return true;
    case 4:
      *kind = ResourceKind::Menu;
      return true;
    case 6:
      *kind = ResourceKind::String;
      return true;
    default:
      return false;
  }
}

}  // namespace

const ResourceModule& ModuleOf(HINSTANCE instance) {
  return instance == nullptr ? glider_resource_module() : *reinterpret_cast<const ResourceModule*>(instance);
}

HINSTANCE ModuleHandle(const ResourceModule& module) {
  return reinterpret_cast<HINSTANCE>(const_cast<ResourceModule*>(&module));
}

bool ResourceId(LPCWSTR name, uint32_t* id) {
  if (name == nullptr) return false;
  if (IS_INTRESOURCE(name)) {
    *id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(name));
    return true;
  }
  if (name[0] != L'#' || name[1] == 0) return false;
  uint32_t value = 0;
  for (const wchar_t* p = name + 1; *p; ++p) {
    if (*p < L'0' || *p > L'9' || value > 0xFFFF) return false;
    value = value * 10 + static_cast<uint32_t>(*p - L'0');
  }
  *id = value;
  return value <= 0xFFFF;
}

const ResourceEntry* FindEntry(HINSTANCE instance, ResourceKind kind, LPCWSTR name) {
  uint32_t id;
  if (!ResourceId(name, &id)) return nullptr;
  return ModuleOf(instance).Find(kind, id);
}

}  // namespace glider::core

using namespace glider::core;

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
  ResourceKind kind;
  if (!KindOfType(type, &kind)) return nullptr;
  return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(FindEntry(module, kind, name)));
}

HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD) {
  return FindResourceW(module, name, type);
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
  if (resource == nullptr) return nullptr;
  return reinterpret_cast<HGLOBAL>(
      const_cast<unsigned char*>(reinterpret_cast<ResourceEntry*>(resource)->data));
}

LPVOID LockResource(HGLOBAL loaded) { return loaded; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
  return resource == nullptr ? 0 : static_cast<DWORD>(reinterpret_cast<ResourceEntry*>(resource)->size);
}

BOOL FreeResource(HGLOBAL) { return FALSE; }
