#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/sha256.h"

namespace velmora::platform {
namespace {

// A CNG algorithm provider and a hash object, closed in reverse order.
class AlgorithmProvider {
 public:
  AlgorithmProvider() {
    if (!BCRYPT_SUCCESS(
            ::BCryptOpenAlgorithmProvider(&handle_, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
      handle_ = nullptr;
  }
  ~AlgorithmProvider() {
    if (handle_ != nullptr) ::BCryptCloseAlgorithmProvider(handle_, 0);
  }
  AlgorithmProvider(const AlgorithmProvider&) = delete;
  AlgorithmProvider& operator=(const AlgorithmProvider&) = delete;
  BCRYPT_ALG_HANDLE get() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

class HashObject {
 public:
  explicit HashObject(BCRYPT_ALG_HANDLE algorithm) {
    if (!BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &handle_, nullptr, 0, nullptr, 0, 0)))
      handle_ = nullptr;
  }
  ~HashObject() {
    if (handle_ != nullptr) ::BCryptDestroyHash(handle_);
  }
  HashObject(const HashObject&) = delete;
  HashObject& operator=(const HashObject&) = delete;
  BCRYPT_HASH_HANDLE get() const { return handle_; }

 private:
  BCRYPT_HASH_HANDLE handle_ = nullptr;
};

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  AlgorithmProvider algorithm;
  if (algorithm.get() == nullptr) throw std::runtime_error("SHA-256 is not available");
  HashObject hash(algorithm.get());
  if (hash.get() == nullptr) throw std::runtime_error("SHA-256 could not start");
  // BCryptHashData takes at most a ULONG at a time.
  constexpr std::size_t kChunk = 1u << 30;
  auto* data = reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
  for (std::size_t done = 0; done < bytes.size(); done += kChunk) {
    const ULONG length = static_cast<ULONG>(std::min(kChunk, bytes.size() - done));
    if (!BCRYPT_SUCCESS(::BCryptHashData(hash.get(), data + done, length, 0)))
      throw std::runtime_error("SHA-256 failed");
  }
  UCHAR digest[32];
  if (!BCRYPT_SUCCESS(::BCryptFinishHash(hash.get(), digest, sizeof digest, 0)))
    throw std::runtime_error("SHA-256 failed");
  return DigestHex(digest, sizeof digest);
}

}  // namespace velmora::platform
