// Closing kernel handles (files, threads, events, processes, snapshots).
#pragma once

#include "platform/windef.h"

// Fails with ERROR_INVALID_HANDLE for a value that is not an open handle.
BOOL CloseHandle(HANDLE handle);
