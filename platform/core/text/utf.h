// UTF-8 <-> wide (UTF-32) text. Invalid input becomes U+FFFD; `valid` (when given)
// says whether the input had none.
#pragma once

#include <string>
#include <string_view>

namespace glider::core {

std::wstring Utf8ToWide(std::string_view text, bool* valid = nullptr);
std::string WideToUtf8(std::wstring_view text, bool* valid = nullptr);

// Copies text into a caller's buffer of `size` characters the Windows way: cut to
// size-1 characters and terminated. Returns the number of characters copied.
size_t CopyToBuffer(std::wstring_view text, wchar_t* out, size_t size);

}  // namespace glider::core

namespace glider::core {

// Case-insensitive name comparison, as Windows compares INI and registry names.
std::wstring FoldCase(std::wstring_view text);
bool EqualNoCase(std::wstring_view a, std::wstring_view b);

// The value of a hexadecimal digit, -1 for any other character.
inline int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Without the blanks (spaces and tabs) at both ends.
std::wstring_view TrimBlanks(std::wstring_view text);

}  // namespace glider::core
