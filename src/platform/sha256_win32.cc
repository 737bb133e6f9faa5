#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "platform/sha256.h"
#include "platform/unique_handle_win32.h"

namespace velmora::platform {
namespace {

struct AlgorithmProviderTraits {
  using Handle = BCRYPT_ALG_HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::BCryptCloseAlgorithmProvider(h, 0); }
};
struct HashTraits {
  using Handle = BCRYPT_HASH_HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::BCryptDestroyHash(h); }
};

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
  BCRYPT_ALG_HANDLE opened = nullptr;
  if (!BCRYPT_SUCCESS(
          ::BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    throw std::runtime_error("SHA-256 is not available");
  }
  // Declared first, so the hash is destroyed before its provider is closed.
  UniqueHandle<AlgorithmProviderTraits> algorithm(opened);
  BCRYPT_HASH_HANDLE created = nullptr;
  if (!BCRYPT_SUCCESS(::BCryptCreateHash(algorithm.get(), &created, nullptr, 0, nullptr, 0, 0))) {
    throw std::runtime_error("SHA-256 could not start");
  }
  UniqueHandle<HashTraits> hash(created);
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
