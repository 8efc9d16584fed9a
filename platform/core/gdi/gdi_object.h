// GDI objects behind handles. A handle is the object's address; every live
// object is registered, so a stale or foreign handle is refused instead of
// being followed. An object deleted while a DC still uses it is freed when the
// last DC lets go of it.
#pragma once

#include <cstdint>

namespace glider::core::gdi {

enum class Kind : uint8_t { Bitmap, Brush, Font, Region, Dc };

struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  Kind kind;
  bool stock = false;
  bool deletePending = false;
  int uses = 0;  // references from DC states (current and saved)
};

// Registers a new object and returns it as a handle.
void* Register(Object* object);
// Looks a handle up; null when it is not a live object of that kind.
Object* Lookup(const void* handle);
template <class T>
T* LookupAs(const void* handle, Kind kind) {
  Object* o = Lookup(handle);
  return o != nullptr && o->kind == kind ? static_cast<T*>(o) : nullptr;
}
// Unregisters and frees, or defers freeing while the object is in use.
bool Delete(Object* object);

// Use counting by DC states; stock objects are never counted or freed.
void Retain(Object* object);
void Release(Object* object);

}  // namespace glider::core::gdi
