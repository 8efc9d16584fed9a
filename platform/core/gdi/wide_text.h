// UTF-8 <-> wide (UTF-32 wchar_t) conversion for text handed to Pango and
// text stored in resources. Invalid input becomes U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace glider::core {

std::string WideToUtf8(std::wstring_view text);
std::wstring Utf8ToWide(std::string_view text);

}  // namespace glider::core
