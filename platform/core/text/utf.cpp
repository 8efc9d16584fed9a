#include "platform/core/text/utf.h"

#include <algorithm>
#include <cwctype>

namespace glider::core {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsScalar(char32_t c) { return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF); }

}  // namespace

std::wstring Utf8ToWide(std::string_view text, bool* valid) {
  std::wstring out;
  out.reserve(text.size());
  bool ok = true;
  size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80           ? 0
                : (lead >> 5) == 0x6  ? 1
                : (lead >> 4) == 0xE  ? 2
                : (lead >> 3) == 0x1E ? 3
                                      : -1;
    if (extra < 0) {
      ok = false;
      out.push_back(static_cast<wchar_t>(kReplacement));
      ++i;
      continue;
    }
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    size_t j = 1;
    for (; j <= static_cast<size_t>(extra) && i + j < text.size(); ++j) {
      unsigned char next = static_cast<unsigned char>(text[i + j]);
      if ((next & 0xC0) != 0x80) break;
      c = (c << 6) | (next & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (j != static_cast<size_t>(extra) + 1 || c < kMinimum[extra] || !IsScalar(c)) {
      // A broken sequence: one replacement for what was consumed.
      ok = false;
      out.push_back(static_cast<wchar_t>(kReplacement));
      i += j;
      continue;
    }
    out.push_back(static_cast<wchar_t>(c));
    i += j;
  }
  if (valid) *valid = ok;
  return out;
}

std::string WideToUtf8(std::wstring_view text, bool* valid) {
  std::string out;
  out.reserve(text.size());
  bool ok = true;
  for (wchar_t w : text) {
    char32_t c = static_cast<char32_t>(w);
    if (!IsScalar(c)) {
      ok = false;
      c = kReplacement;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  if (valid) *valid = ok;
  return out;
}

size_t CopyToBuffer(std::wstring_view text, wchar_t* out, size_t size) {
  if (!out || size == 0) return 0;
  size_t n = std::min(text.size(), size - 1);
  std::copy_n(text.data(), n, out);
  out[n] = L'\0';
  return n;
}

}  // namespace glider::core

namespace glider::core {

std::wstring FoldCase(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return out;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  return true;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
  size_t begin = text.find_first_not_of(L" \t");
  if (begin == std::wstring_view::npos) return {};
  size_t end = text.find_last_not_of(L" \t");
  return text.substr(begin, end - begin + 1);
}

}  // namespace glider::core
