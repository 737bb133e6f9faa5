#ifndef VELMORA_PLATFORM_SHA256_H_
#define VELMORA_PLATFORM_SHA256_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::platform {

// The SHA-256 digest of `bytes` in lower-case hexadecimal (64 digits), computed by the
// platform's own cryptography (CNG on Windows, nettle elsewhere).
std::string Sha256Hex(std::string_view bytes);

// A digest's bytes as Sha256Hex writes them; shared by its implementations.
inline std::string DigestHex(const unsigned char* digest, std::size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < size; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0xF];
  }
  return hex;
}

}  // namespace velmora::platform

#endif  // VELMORA_PLATFORM_SHA256_H_
