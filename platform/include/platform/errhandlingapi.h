// Per-thread last-error value.
#pragma once

#include "platform/windef.h"

DWORD GetLastError();
void SetLastError(DWORD error);
