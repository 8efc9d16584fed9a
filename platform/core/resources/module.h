// HINSTANCE <-> resource module, and resource lookup by kind and id.
#pragma once

#include "platform/core/resource_module.h"
#include "platform/windef.h"

namespace glider::core {

// The module an HINSTANCE stands for; null means the deliverable's own.
const ResourceModule& ModuleOf(HINSTANCE instance);
HINSTANCE ModuleHandle(const ResourceModule& module);
// The id of a name given as MAKEINTRESOURCEW(id) or "#id"; false for other names.
bool ResourceId(LPCWSTR name, uint32_t* id);
const ResourceEntry* FindEntry(HINSTANCE instance, ResourceKind kind, LPCWSTR name);

}  // namespace glider::core
