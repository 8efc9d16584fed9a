// MultiByteToWideChar and WideCharToMultiByte: the ANSI code page is UTF-8 here.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/core/text/utf.h"
#include "platform/winbase.h"

namespace {

size_t Length(const char* text) { return std::strlen(text); }
size_t Length(const wchar_t* text) { return std::wcslen(text); }
std::wstring ConvertText(std::string_view text, bool* valid) { return glider::core::Utf8ToWide(text, valid); }
std::string ConvertText(std::wstring_view text, bool* valid) { return glider::core::WideToUtf8(text, valid); }

// Both directions: check the arguments, convert, then copy out or (outSize 0) measure.
template <typename In, typename Out>
int Convert(UINT codePage, bool strict, const In* text, int length, Out* out, int outSize) {
  bool knownCodePage = codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_UTF8;
  if (!knownCodePage || !text || length == 0 || length < -1 || outSize < 0 || (outSize > 0 && !out)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // A length of -1 takes the terminator along, which converts to one of its own.
  size_t n = length == -1 ? Length(text) + 1 : static_cast<size_t>(length);
  bool valid = true;
  std::basic_string<Out> converted = ConvertText(std::basic_string_view<In>(text, n), &valid);
  if (!valid && strict) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  if (converted.size() > static_cast<size_t>(INT32_MAX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int needed = static_cast<int>(converted.size());
  if (outSize == 0) return needed;
  if (needed > outSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(converted.begin(), converted.end(), out);
  return needed;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR out, int outSize) {
  return Convert(codePage, (flags & MB_ERR_INVALID_CHARS) != 0, text, length, out, outSize);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR out, int outSize,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar) {
  if (usedDefaultChar) *usedDefaultChar = FALSE;
  return Convert(codePage, (flags & WC_ERR_INVALID_CHARS) != 0, text, length, out, outSize);
}
