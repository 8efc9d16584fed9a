// Windows error codes for errno values.
#pragma once

#include "platform/windef.h"

namespace glider::core {

DWORD ErrorFromErrno(int error);
// SetLastError(ErrorFromErrno(errno)).
void SetLastErrorFromErrno();

}  // namespace glider::core
