#include "setup/payload_check.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>

#include "common/medium/payload_format.h"

namespace setup {

namespace {

// SHA-256 by Windows' own cryptography; nothing when it is not available.
std::optional<medium::Sha256> Sha256Of(std::string_view bytes) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
    return std::nullopt;
  }
  BCRYPT_HASH_HANDLE hash = nullptr;
  medium::Sha256 digest{};
  bool hashed = BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
  // BCryptHashData takes at most 4 GiB at a time.
  constexpr std::size_t kChunk = 1u << 30;
  for (std::size_t done = 0; hashed && done < bytes.size(); done += kChunk) {
    const std::size_t length = std::min(kChunk, bytes.size() - done);
    hashed = BCRYPT_SUCCESS(BCryptHashData(
        hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data() + done)), static_cast<ULONG>(length), 0));
  }
  hashed = hashed && BCRYPT_SUCCESS(BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
  if (hash != nullptr) BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  if (!hashed) return std::nullopt;
  return digest;
}

}  // namespace

std::optional<std::string_view> CheckedPayload(std::string_view file) {
  medium::PayloadHeader header;
  const std::optional<std::string_view> payload = medium::LocatePayload(file, header);
  if (!payload) return std::nullopt;
  const std::optional<medium::Sha256> digest = Sha256Of(*payload);
  if (!digest || *digest != header.sha256) return std::nullopt;
  return payload;
}

}  // namespace setup
