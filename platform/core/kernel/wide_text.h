// UTF-8 <-> wide text for the calls that hand strings to Linux.
#pragma once

#include <string>

#include "platform/windef.h"

namespace glider::core {

std::string WideToUtf8(const wchar_t* text, size_t length);
inline std::string WideToUtf8(const std::wstring& text) { return WideToUtf8(text.data(), text.size()); }
std::wstring Utf8ToWide(const std::string& text);
// A Windows-style path as Linux takes it: "\\" becomes "/".
std::string NativePath(LPCWSTR path);

}  // namespace glider::core
