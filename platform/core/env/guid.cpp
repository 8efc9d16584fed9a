// CoCreateGuid and OutputDebugStringW.
#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/core/text/utf.h"
#include "platform/winbase.h"

HRESULT CoCreateGuid(GUID* guid) {
  if (!guid) return E_INVALIDARG;
  unsigned char bytes[16];
  size_t got = 0;
  while (got < sizeof bytes) {
    ssize_t n = getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return E_FAIL;
    got += static_cast<size_t>(n);
  }
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  guid->Data1 =
      (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
  guid->Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
  guid->Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i) guid->Data4[i] = bytes[8 + i];
  return S_OK;
}

void OutputDebugStringW(LPCWSTR text) {
  const char* debug = std::getenv("GLIDER_DEBUG");
  if (!text || !debug || !*debug) return;
  std::string narrow = glider::core::WideToUtf8(text);
  std::fwrite(narrow.data(), 1, narrow.size(), stderr);
  std::fflush(stderr);
}
