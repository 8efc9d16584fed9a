// How GetPrivateProfileIntW reads a value: leading blanks skipped, an optional sign,
// then "0x" hexadecimal, "0o" octal, "0b" binary or decimal digits up to the first
// other character; no digits read as 0; overflow wraps modulo 2^32; a minus sign
// negates (callers cast the result to int).
#pragma once

#include <string_view>

#include "platform/windef.h"

namespace glider::core {

UINT ProfileTextToUint(std::wstring_view text);

}  // namespace glider::core
