#include "app/Upgrade.h"

#include <sodium.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "app/Settings.h"
#include "util/Text.h"

#ifndef GLIDER_UPGRADE_PUBLIC_KEY
#define GLIDER_UPGRADE_PUBLIC_KEY ""
#endif

int VersionNumber(const std::wstring& version) { return ParseInt(RemoveAll(version, L".")); }

bool IsVersionInRange(const std::wstring& range) {
  if (range.empty()) return true;
  for (const std::wstring& piece : SplitString(L",", range)) {
    if (piece.find(L'-') == std::wstring::npos) {
      if (ParseInt(piece) == ClientVersion) return true;
      continue;
    }
    std::vector<std::wstring> bounds = SplitString(L"-", piece);
    if (bounds.size() != 2) continue;
    if (ParseInt(bounds[0]) <= ClientVersion && ParseInt(bounds[1]) >= ClientVersion) return true;
  }
  return false;
}

bool ShouldOfferUpgrade(const std::wstring& remote, const std::wstring& range, const std::wstring& last) {
  int remoteNumber = VersionNumber(remote);
  if (remoteNumber == 0) return false;
  int lastNumber = VersionNumber(last);
  return remoteNumber > ClientVersion && lastNumber < remoteNumber && IsVersionInRange(range);
}

bool VerifyUpgradeSignature(const std::wstring& programPath, const std::wstring& signatureBase64) {
  if (sodium_init() < 0) return false;
  std::string keyText = GLIDER_UPGRADE_PUBLIC_KEY;
  unsigned char key[crypto_sign_PUBLICKEYBYTES];
  size_t keyLen = 0;
  if (sodium_base642bin(key, sizeof(key), keyText.c_str(), keyText.size(), nullptr, &keyLen, nullptr,
                        sodium_base64_VARIANT_ORIGINAL) != 0 ||
      keyLen != sizeof(key))
    return false;
  std::string sigText;
  if (!ToNarrow(signatureBase64.c_str(), sigText) || sigText.empty()) return false;
  unsigned char sig[crypto_sign_BYTES];
  size_t sigLen = 0;
  if (sodium_base642bin(sig, sizeof(sig), sigText.c_str(), sigText.size(), nullptr, &sigLen, nullptr,
                        sodium_base64_VARIANT_ORIGINAL) != 0 ||
      sigLen != sizeof(sig))
    return false;
  std::string path;
  if (!ToNarrow(programPath.c_str(), path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return crypto_sign_verify_detached(sig, bytes.data(), bytes.size(), key) == 0;
}
