#include "platform/core/gdi/gdi_object.h"

#include <mutex>
#include <unordered_set>

namespace glider::core::gdi {
namespace {

std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

std::unordered_set<const void*>& Registry() {
  static auto* live = new std::unordered_set<const void*>();
  return *live;
}

}  // namespace

void* Register(Object* object) {
  std::lock_guard guard(RegistryLock());
  Registry().insert(object);
  return object;
}

Object* Lookup(const void* handle) {
  if (handle == nullptr) return nullptr;
  std::lock_guard guard(RegistryLock());
  if (Registry().count(handle) == 0) return nullptr;
  return static_cast<Object*>(const_cast<void*>(handle));
}

bool Delete(Object* object) {
  if (object == nullptr || object->stock) return object != nullptr;
  {
    std::lock_guard guard(RegistryLock());
    if (Registry().erase(object) == 0) return false;
  }
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
