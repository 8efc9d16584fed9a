// MD5 message digest (RFC 1321).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t length);
  // Ends the message and writes the 16-byte digest; the object starts over afterwards.
  void Final(uint8_t digest[16]);

 private:
  void Transform(const uint8_t block[64]);

  uint32_t state_[4];
  uint64_t bitCount_;
  uint8_t buffer_[64];
};

// The digest of `data` as 32 lower-case hexadecimal digits.
std::string Md5Hex(const void* data, size_t length);
inline std::string Md5Hex(const std::string& data) { return Md5Hex(data.data(), data.size()); }
