#include "platform/core/kernel/wide_text.h"

#include <cwchar>

namespace glider::core {

std::string NativePath(LPCWSTR path) {
  std::string out = WideToUtf8(std::wstring_view(path));
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

}  // namespace glider::core
