// GetPrivateProfileStringW, GetPrivateProfileIntW and WritePrivateProfileStringW.
#include <string>
#include <vector>

#include "platform/core/files/atomic_file.h"
#include "platform/core/profile/ini_document.h"
#include "platform/core/profile/profile_int.h"
#include "platform/core/text/utf.h"
#include "platform/winbase.h"

namespace {

using glider::core::IniDocument;

// A missing or unreadable file reads as an empty one.
IniDocument Load(LPCWSTR file) {
  std::string content;
  bool exists = false;
  if (!glider::core::ReadWholeFile(glider::core::WideToUtf8(file), content, exists) || !exists) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return IniDocument("");
  }
  return IniDocument(content);
}

// Names each followed by a terminator, then one more. A list that does not fit is cut
// and still ends in two terminators; the result is then size-2, as on Windows.
DWORD CopyNameList(const std::vector<std::wstring>& names, LPWSTR out, DWORD size) {
  std::wstring list;
  for (const std::wstring& name : names) list += name + L'\0';
  if (list.size() + 1 <= size) {
    std::copy(list.begin(), list.end(), out);
    out[list.size()] = L'\0';
    return static_cast<DWORD>(list.size());
  }
  if (size < 2) {
    out[0] = L'\0';
    return 0;
  }
  std::copy_n(list.begin(), size - 2, out);
  out[size - 2] = L'\0';
  out[size - 1] = L'\0';
  return size - 2;
}

bool HasLineBreak(LPCWSTR text) {
  return text && std::wstring_view(text).find_first_of(L"\r\n") != std::wstring_view::npos;
}

}  // namespace

DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR out, DWORD size,
                               LPCWSTR file) {
  if (!out || size == 0) return 0;
  SetLastError(ERROR_SUCCESS);
  IniDocument doc = file ? Load(file) : IniDocument("");
  if (!section) return CopyNameList(doc.SectionNames(), out, size);
  if (!key) return CopyNameList(doc.KeyNames(section), out, size);
  std::optional<std::wstring> value = doc.Get(section, key);
  if (!value) {
    // Windows drops the default's trailing blanks.
    std::wstring_view fallback = defaultValue ? defaultValue : L"";
    size_t end = fallback.find_last_not_of(L" \t");
    value = std::wstring(fallback.substr(0, end == std::wstring_view::npos ? 0 : end + 1));
  }
  return static_cast<DWORD>(glider::core::CopyToBuffer(*value, out, size));
}

UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR file) {
  if (!section || !key) return static_cast<UINT>(defaultValue);
  wchar_t buffer[64];
  if (GetPrivateProfileStringW(section, key, L"", buffer, 64, file) == 0)
    return static_cast<UINT>(defaultValue);
  return glider::core::ProfileTextToUint(buffer);
}

BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
  // A line break in a name or value would write lines of its own into the file.
  if (!section || !file || !*file || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
      (key && std::wstring_view(key).find(L'=') != std::wstring_view::npos)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool ok =
      glider::core::UpdateFileLocked(glider::core::WideToUtf8(file), [&](std::string& content, bool exists) {
        // Deleting from a file that is not there changes nothing.
        if (!exists && (!key || !value)) return false;
        IniDocument doc(content);
        if (!key) {
          doc.DeleteSection(section);
        } else if (!value) {
          doc.DeleteKey(section, key);
        } else {
          doc.Set(section, key, value);
        }
        content = doc.Text();
        return true;
      });
  return ok ? TRUE : FALSE;
}
