#include "util/Text.h"

#include <climits>
#include <cwchar>
#include <cwctype>

#include "platform/windows.h"

bool ToNarrow(const wchar_t* text, std::string& out) {
  if (!text) return false;
  int size = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  std::string converted(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, text, -1, converted.data(), size, nullptr, nullptr) !=
      size)
    return false;
  converted.pop_back();  // the terminator
  out = std::move(converted);
  return true;
}

bool ToWide(const char* text, std::wstring& out) {
  if (!text) return false;
  int size = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, nullptr, 0);
  if (size <= 0) return false;
  std::wstring converted(static_cast<size_t>(size), L'\0');
  if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text, -1, converted.data(), size) != size) return false;
  converted.pop_back();
  out = std::move(converted);
  return true;
}

std::wstring RemoveAll(const std::wstring& text, const std::wstring& pattern) {
  if (pattern.empty()) return text;
  std::wstring out;
  size_t from = 0;
  for (size_t at = text.find(pattern); at != std::wstring::npos; at = text.find(pattern, from)) {
    out.append(text, from, at - from);
    from = at + pattern.size();
  }
  out.append(text, from, std::wstring::npos);
  return out;
}

std::vector<std::wstring> SplitString(const std::wstring& separator, const std::wstring& text) {
  std::vector<std::wstring> pieces;
  size_t from = 0;
  if (!separator.empty()) {
    for (size_t at = text.find(separator); at != std::wstring::npos; at = text.find(separator, from)) {
      pieces.push_back(text.substr(from, at - from));
      from = at + separator.size();
    }
  }
  if (from < text.size()) pieces.push_back(text.substr(from));
  return pieces;
}

int ParseInt(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  if (i >= text.size() || text[i] < L'0' || text[i] > L'9') return 0;
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (negative) value = -value;
  return value < INT_MIN || value > INT_MAX ? 0 : static_cast<int>(value);
}

std::wstring GetUrlParam(const std::wstring& name, const std::wstring& address) {
  size_t at = address.find(name + L"=");
  if (at == std::wstring::npos) return {};
  size_t begin = at + name.size() + 1;
  size_t end = address.find(L'&', begin);
  return address.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
}

std::wstring NewGuidText() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) return {};
  wchar_t text[40];
  std::swprintf(text, 40, L"%.8X-%.4X-%.4X-%.2X%.2X-%.2X%.2X%.2X%.2X%.2X%.2X", guid.Data1, guid.Data2,
                guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4],
                guid.Data4[5], guid.Data4[6], guid.Data4[7]);
  return text;
}

std::wstring HexText(const unsigned char* bytes) {
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring text;
  for (int i = 0; i < 16; ++i) {
    text += kDigits[bytes[i] >> 4];
    text += kDigits[bytes[i] & 0x0F];
  }
  return text;
}

std::wstring FormatLocalTime(const wchar_t* format, std::time_t time) {
  std::tm local{};
  if (!format || !localtime_r(&time, &local)) return {};
  wchar_t buffer[128];
  size_t n = std::wcsftime(buffer, 128, format, &local);
  return std::wstring(buffer, n);
}
