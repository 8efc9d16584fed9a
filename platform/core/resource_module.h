// Resources compiled into a deliverable (see cmake/Resources.cmake). An
// HINSTANCE of ours points at one of these tables.
#pragma once

#include <cstddef>
#include <cstdint>

namespace glider::core {

enum class ResourceKind : uint8_t { String, Png, Bitmap, Icon, Menu };

struct ResourceEntry {
  ResourceKind kind;
  uint32_t id;
  const unsigned char* data;  // strings are UTF-8; files are their bytes
  size_t size;
};

struct ResourceModule {
  const ResourceEntry* entries;
  size_t count;

  const ResourceEntry* Find(ResourceKind kind, uint32_t id) const {
    for (size_t i = 0; i < count; ++i)
      if (entries[i].kind == kind && entries[i].id == id) return &entries[i];
    return nullptr;
  }
};

}  // namespace glider::core

// Defined by the generated resource file that a deliverable links.
const glider::core::ResourceModule& glider_resource_module();
