#include "platform/core/inet/inet_stop.h"

#include <curl/curl.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/core/inet/http_transfer.h"
#include "platform/core/kernel/kernel_object.h"

namespace glider::core {
namespace {

thread_local const volatile LONG* boundFlag = nullptr;

struct Waits {
  std::mutex mutex;
  std::vector<std::pair<const volatile LONG*, void*>> active;
};

Waits& ActiveWaits() {
  static Waits* waits = new Waits;
  return *waits;
}

}  // namespace

void BindInternetStopFlag(const volatile LONG* stopFlag) { boundFlag = stopFlag; }

bool InternetStopRequested() {
  return CurrentThreadAbandoned() ||
         (boundFlag != nullptr && __atomic_load_n(boundFlag, __ATOMIC_ACQUIRE) != 0);
}

void WakeInternetCalls(const volatile LONG* stopFlag) {
  Waits& waits = ActiveWaits();
  std::lock_guard lock(waits.mutex);
  for (auto& [flag, multi] : waits.active) {
    if (flag == stopFlag) curl_multi_wakeup(static_cast<CURLM*>(multi));
  }
}

InternetWaitScope::InternetWaitScope(void* multi) : flag_(boundFlag), multi_(multi) {
  if (flag_ == nullptr) return;
  Waits& waits = ActiveWaits();
  std::lock_guard lock(waits.mutex);
  waits.active.emplace_back(flag_, multi_);
}

InternetWaitScope::~InternetWaitScope() {
  if (flag_ == nullptr) return;
  Waits& waits = ActiveWaits();
  std::lock_guard lock(waits.mutex);
  auto it = std::find(waits.active.begin(), waits.active.end(), std::make_pair(flag_, multi_));
  if (it != waits.active.end()) waits.active.erase(it);
}

}  // namespace glider::core
