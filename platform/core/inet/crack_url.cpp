// InternetCrackUrlW: splits a URL without decoding or escaping.
#include <cwchar>
#include <cwctype>
#include <string_view>

#include "platform/errhandlingapi.h"
#include "platform/wininet.h"

namespace {

struct Part {
  LPWSTR* buffer;
  DWORD* length;
  std::wstring_view text;
  bool Wanted() const { return *buffer != nullptr || *length != 0; }
  bool Fits() const { return *buffer == nullptr || text.size() + 1 <= *length; }
  void Store() const {
    if (!Wanted()) return;
    if (*buffer == nullptr) {
      *buffer = const_cast<LPWSTR>(text.data());
    } else {
      wmemcpy(*buffer, text.data(), text.size());
      (*buffer)[text.size()] = L'\0';
    }
    *length = static_cast<DWORD>(text.size());
  }
};

INTERNET_SCHEME SchemeOf(std::wstring_view scheme, INTERNET_PORT* defaultPort) {
  auto equals = [&](std::wstring_view name) {
    if (scheme.size() != name.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
      if (static_cast<wchar_t>(towlower(static_cast<wint_t>(scheme[i]))) != name[i]) return false;
    }
    return true;
  };
  *defaultPort = 0;
  if (equals(L"http")) {
    *defaultPort = INTERNET_DEFAULT_HTTP_PORT;
    return INTERNET_SCHEME_HTTP;
  }
  if (equals(L"https")) {
    *defaultPort = INTERNET_DEFAULT_HTTPS_PORT;
    return INTERNET_SCHEME_HTTPS;
  }
  if (equals(L"ftp")) {
    *defaultPort = 21;
    return INTERNET_SCHEME_FTP;
  }
  return equals(L"file") ? INTERNET_SCHEME_FILE : INTERNET_SCHEME_UNKNOWN;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL InternetCrackUrlW(LPCWSTR url, DWORD urlLength, DWORD flags, LPURL_COMPONENTSW components) {
  if (url == nullptr || components == nullptr || components->dwStructSize < sizeof(URL_COMPONENTSW) ||
      (flags & (ICU_DECODE | ICU_ESCAPE)) != 0) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::wstring_view all(url, urlLength == 0 ? wcslen(url) : urlLength);
  size_t colon = all.find(L':');
  if (colon == std::wstring_view::npos || colon == 0 || all.substr(colon + 1, 2) != L"//") {
    return Fail(ERROR_INTERNET_UNRECOGNIZED_SCHEME);
  }
  std::wstring_view scheme = all.substr(0, colon);
  INTERNET_PORT port = 0;
  INTERNET_SCHEME schemeKind = SchemeOf(scheme, &port);

  std::wstring_view rest = all.substr(colon + 3);
  size_t authorityEnd = rest.find_first_of(L"/?#");
  if (authorityEnd == std::wstring_view::npos) authorityEnd = rest.size();
  std::wstring_view authority = rest.substr(0, authorityEnd);
  std::wstring_view path = rest.substr(authorityEnd);

  std::wstring_view user, password;
  size_t at = authority.rfind(L'@');
  if (at != std::wstring_view::npos) {
    std::wstring_view userInfo = authority.substr(0, at);
    size_t split = userInfo.find(L':');
    user = userInfo.substr(0, split);
    if (split != std::wstring_view::npos) password = userInfo.substr(split + 1);
    authority = authority.substr(at + 1);
  }
  std::wstring_view host = authority;
  size_t portStart = std::wstring_view::npos;
  if (!authority.empty() && authority.front() == L'[') {
    size_t close = authority.find(L']');
    if (close == std::wstring_view::npos) return Fail(ERROR_INTERNET_INVALID_URL);
    host = authority.substr(0, close + 1);
    if (close + 1 < authority.size()) {
      if (authority[close + 1] != L':') return Fail(ERROR_INTERNET_INVALID_URL);
      portStart = close + 2;
    }
  } else if (size_t split = authority.find(L':'); split != std::wstring_view::npos) {
    host = authority.substr(0, split);
    portStart = split + 1;
  }
  if (host.empty()) return Fail(ERROR_INTERNET_INVALID_URL);
  if (portStart != std::wstring_view::npos && portStart < authority.size()) {
    uint32_t value = 0;
    for (wchar_t c : authority.substr(portStart)) {
      if (c < L'0' || c > L'9') return Fail(ERROR_INTERNET_INVALID_URL);
      value = value * 10 + static_cast<uint32_t>(c - L'0');
      if (value > 65535) return Fail(ERROR_INTERNET_INVALID_URL);
    }
    port = static_cast<INTERNET_PORT>(value);
  }

  std::wstring_view extra;
  bool extraWanted = components->lpszExtraInfo != nullptr || components->dwExtraInfoLength != 0;
  if (extraWanted) {
    size_t split = path.find_first_of(L"?#");
    if (split != std::wstring_view::npos) {
      extra = path.substr(split);
      path = path.substr(0, split);
    }
  }

  const Part parts[] = {
      {&components->lpszScheme, &components->dwSchemeLength, scheme},
      {&components->lpszHostName, &components->dwHostNameLength, host},
      {&components->lpszUserName, &components->dwUserNameLength, user},
      {&components->lpszPassword, &components->dwPasswordLength, password},
      {&components->lpszUrlPath, &components->dwUrlPathLength, path},
      {&components->lpszExtraInfo, &components->dwExtraInfoLength, extra},
  };
  // Check every part before copying any, so a refusal leaves the buffers alone.
  bool fits = true;
  for (const Part& part : parts) {
    if (part.Wanted() && !part.Fits()) {
      *part.length = static_cast<DWORD>(part.text.size() + 1);
      fits = false;
    }
  }
  if (!fits) return Fail(ERROR_INSUFFICIENT_BUFFER);
  for (const Part& part : parts) part.Store();
  components->nScheme = schemeKind;
  components->nPort = port;
  return TRUE;
}
