#include "platform/core/gdi/gdi_object.h"

#include "platform/core/gdi/handle_registry.h"

namespace glider::core::gdi {
namespace {

HandleRegistry& Registry() {
  static auto* live = new HandleRegistry();
  return *live;
}

}  // namespace

void* Register(Object* object) {
  Registry().Add(object);
  return object;
}

Object* Lookup(const void* handle) {
  if (!Registry().Contains(handle)) return nullptr;
  return static_cast<Object*>(const_cast<void*>(handle));
}

bool Delete(Object* object) {
  if (object == nullptr || object->stock) return object != nullptr;
  if (!Registry().Remove(object)) return false;
  if (object->uses > 0) {
    object->deletePending = true;
    return true;
  }
  delete object;
  return true;
}

void Retain(Object* object) {
  if (object != nullptr && !object->stock) ++object->uses;
}

void Release(Object* object) {
  if (object == nullptr || object->stock) return;
  if (--object->uses == 0 && object->deletePending) delete object;
}

}  // namespace glider::core::gdi
