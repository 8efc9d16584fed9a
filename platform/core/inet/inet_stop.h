// Stopping blocking WinINet calls from another thread (Windows would close
// the handle under the caller; here the caller names its stop flag).
#pragma once

#include "platform/windef.h"

namespace glider::core {

// Blocking WinINet calls made by the calling thread fail with
// ERROR_INTERNET_OPERATION_CANCELLED once *stopFlag is non-zero. Null unbinds.
void BindInternetStopFlag(const volatile LONG* stopFlag);

// Wakes at once every blocking WinINet call bound to `stopFlag`, so that it
// sees the flag now instead of at its next network event. Any thread may call it.
void WakeInternetCalls(const volatile LONG* stopFlag);

}  // namespace glider::core
