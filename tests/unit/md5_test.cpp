#include "util/Md5.h"

#include <gtest/gtest.h>

namespace {

// The test suite of RFC 1321, appendix A.5.
TEST(Md5, RfcTestSuite) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& [input, digest] : cases) EXPECT_EQ(Md5Hex(std::string(input)), digest) << input;
}

TEST(Md5, PiecewiseUpdatesEqualOneUpdate) {
  std::string text(1000, 'x');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>(i * 31);
  for (size_t split : {0u, 1u, 55u, 56u, 63u, 64u, 65u, 999u}) {
    Md5 md5;
    md5.Update(text.data(), split);
    md5.Update(text.data() + split, text.size() - split);
    uint8_t digest[16];
    md5.Final(digest);
    Md5 whole;
    whole.Update(text.data(), text.size());
    uint8_t expected[16];
    whole.Final(expected);
    EXPECT_EQ(0, memcmp(digest, expected, 16)) << split;
  }
}

}  // namespace
