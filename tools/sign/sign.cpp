// Signs files with Ed25519 (libsodium detached signatures) for the platform
// simulator, and checks such signatures. Keys and signatures are base64 text.
//
//   glider-sign SEEDFILE FILE                  print the signature of FILE
//   glider-sign --public SEEDFILE              print the public key of the seed
//   glider-sign --verify PUBLICKEY FILE SIG    exit 0 when SIG verifies
#include <sodium.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::optional<std::string> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return data;
}

std::string_view Trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// Decodes base64 text that must give exactly `size` bytes.
std::optional<Bytes> DecodeExact(std::string_view text, size_t size) {
  text = Trim(text);
  Bytes out(size + 3);
  size_t length = 0;
  const char* end = nullptr;
  if (sodium_base642bin(out.data(), out.size(), text.data(), text.size(), nullptr, &length, &end,
                        sodium_base64_VARIANT_ORIGINAL) != 0 ||
      end != text.data() + text.size() || length != size) {
    return std::nullopt;
  }
  out.resize(size);
  return out;
}

std::string Encode(const unsigned char* data, size_t size) {
  std::string text(sodium_base64_encoded_len(size, sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(text.data(), text.size(), data, size, sodium_base64_VARIANT_ORIGINAL);
  text.resize(text.size() - 1);  // the terminating zero
  return text;
}

// Key pair from the seed file; the secret half is wiped by the destructor.
struct KeyPair {
  unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
  unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
  ~KeyPair() { sodium_memzero(secretKey, sizeof secretKey); }
};

bool LoadKeyPair(const char* seedPath, KeyPair& keys) {
  std::optional<std::string> text = ReadFile(seedPath);
  if (!text) {
    std::fprintf(stderr, "glider-sign: cannot read %s\n", seedPath);
    return false;
  }
  std::optional<Bytes> seed = DecodeExact(*text, crypto_sign_SEEDBYTES);
  sodium_memzero(text->data(), text->size());
  if (!seed) {
    std::fprintf(stderr, "glider-sign: %s does not hold a base64 seed of %d bytes\n", seedPath,
                 int(crypto_sign_SEEDBYTES));
    return false;
  }
  crypto_sign_seed_keypair(keys.publicKey, keys.secretKey, seed->data());
  sodium_memzero(seed->data(), seed->size());
  return true;
}

int PrintPublic(const char* seedPath) {
  KeyPair keys;
  if (!LoadKeyPair(seedPath, keys)) return 2;
  std::printf("%s\n", Encode(keys.publicKey, sizeof keys.publicKey).c_str());
  return 0;
}

int Sign(const char* seedPath, const char* filePath) {
  KeyPair keys;
  if (!LoadKeyPair(seedPath, keys)) return 2;
  std::optional<std::string> data = ReadFile(filePath);
  if (!data) {
    std::fprintf(stderr, "glider-sign: cannot read %s\n", filePath);
    return 2;
  }
  unsigned char signature[crypto_sign_BYTES];
  crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(data->data()), data->size(),
                       keys.secretKey);
  std::printf("%s\n", Encode(signature, sizeof signature).c_str());
  return 0;
}

int Verify(const char* publicText, const char* filePath, const char* signatureText) {
  std::optional<Bytes> publicKey = DecodeExact(publicText, crypto_sign_PUBLICKEYBYTES);
  std::optional<Bytes> signature = DecodeExact(signatureText, crypto_sign_BYTES);
  std::optional<std::string> data = ReadFile(filePath);
  if (!publicKey || !signature || !data) {
    std::fprintf(stderr, "glider-sign: bad key, signature or file\n");
    return 2;
  }
  bool good =
      crypto_sign_verify_detached(signature->data(), reinterpret_cast<const unsigned char*>(data->data()),
                                  data->size(), publicKey->data()) == 0;
  std::printf("%s\n", good ? "good" : "bad");
  return good ? 0 : 1;
}

int Usage() {
  std::fprintf(stderr,
               "usage: glider-sign SEEDFILE FILE\n"
               "       glider-sign --public SEEDFILE\n"
               "       glider-sign --verify PUBLICKEY FILE SIGNATURE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (sodium_init() < 0) {
    std::fprintf(stderr, "glider-sign: libsodium failed to start\n");
    return 2;
  }
  std::string_view first = argc > 1 ? argv[1] : "";
  if (first == "--public" && argc == 3) return PrintPublic(argv[2]);
  if (first == "--verify" && argc == 5) return Verify(argv[2], argv[3], argv[4]);
  if (argc == 3 && !first.starts_with("--")) return Sign(argv[1], argv[2]);
  return Usage();
}
