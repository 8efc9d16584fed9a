// Paths and texts handed to Linux (UTF-8 conversion itself is in core/text/utf.h).
#pragma once

#include <string>

#include "platform/core/text/utf.h"
#include "platform/windef.h"

namespace glider::core {

// A Windows-style path as Linux takes it: "\\" becomes "/".
std::string NativePath(LPCWSTR path);

}  // namespace glider::core
