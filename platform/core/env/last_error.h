// Windows error codes for errno values of the system calls underneath.
#pragma once

#include "platform/windef.h"

namespace glider::core {

DWORD ErrorFromErrno(int err);
// Sets the thread's last error from errno and returns it.
DWORD SetLastErrorFromErrno();

}  // namespace glider::core
