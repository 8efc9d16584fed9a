#include "platform/core/profile/profile_int.h"

namespace glider::core {

UINT ProfileTextToUint(std::wstring_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] <= L' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  unsigned base = 10;
  if (i + 1 < text.size() && text[i] == L'0') {
    switch (text[i + 1]) {
      case L'x':
      case L'X':
        base = 16;
        break;
      case L'o':
      case L'O':
        base = 8;
        break;
      case L'b':
      case L'B':
        base = 2;
        break;
    }
    if (base != 10) i += 2;
  }
  UINT value = 0;
  for (; i < text.size(); ++i) {
    wchar_t c = text[i];
    unsigned digit = c >= L'0' && c <= L'9'   ? static_cast<unsigned>(c - L'0')
                     : c >= L'a' && c <= L'f' ? static_cast<unsigned>(c - L'a' + 10)
                     : c >= L'A' && c <= L'F' ? static_cast<unsigned>(c - L'A' + 10)
                                              : 99u;
    if (digit >= base) break;
    value = value * base + digit;
  }
  return negative ? 0u - value : value;
}

}  // namespace glider::core
