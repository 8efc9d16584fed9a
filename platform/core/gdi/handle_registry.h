// The set of live objects behind one kind of handle, so that a stale or
// foreign handle is refused instead of being followed. Thread-safe.
#pragma once

#include <mutex>
#include <unordered_set>

namespace glider::core {

class HandleRegistry {
 public:
  void Add(const void* object) {
    std::lock_guard guard(lock_);
    live_.insert(object);
  }
  // False when the object was not live.
  bool Remove(const void* object) {
    std::lock_guard guard(lock_);
    return live_.erase(object) != 0;
  }
  bool Contains(const void* object) const {
    std::lock_guard guard(lock_);
    return object != nullptr && live_.count(object) != 0;
  }

 private:
  mutable std::mutex lock_;
  std::unordered_set<const void*> live_;
};

}  // namespace glider::core
