// The light-weight shell's path helpers.
#pragma once

#include "platform/windef.h"

// True when a file or folder exists at the path.
BOOL PathFileExistsW(LPCWSTR path);
