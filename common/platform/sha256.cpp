#include "common/platform/sha256.h"

#include <algorithm>

namespace platform {

Sha256Hash::Sha256Hash() {
  static const bool kHasShaInstructions = medium::HasShaInstructions();
  if (kHasShaInstructions) {
    instructions_.emplace();
    return;
  }
  failed_ = !BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm_, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ||
            !BCRYPT_SUCCESS(BCryptCreateHash(algorithm_, &hash_, nullptr, 0, nullptr, 0, 0));
}

Sha256Hash::~Sha256Hash() {
  if (hash_ != nullptr) BCryptDestroyHash(hash_);
  if (algorithm_ != nullptr) BCryptCloseAlgorithmProvider(algorithm_, 0);
}

void Sha256Hash::Add(const void* bytes, std::size_t length) {
  if (instructions_) return instructions_->Add(bytes, length);
  // BCryptHashData takes at most 4 GiB at a time.
  constexpr std::size_t kChunk = 1u << 30;
  const auto* next = static_cast<const unsigned char*>(bytes);
  while (!failed_ && length > 0) {
    const std::size_t chunk = std::min(kChunk, length);
    failed_ = !BCRYPT_SUCCESS(BCryptHashData(hash_, const_cast<PUCHAR>(next), static_cast<ULONG>(chunk), 0));
    next += chunk;
    length -= chunk;
  }
}

std::optional<Sha256Digest> Sha256Hash::Finish() {
  if (instructions_) return instructions_->Finish();
  Sha256Digest digest{};
  if (failed_ || !BCRYPT_SUCCESS(BCryptFinishHash(hash_, digest.data(), static_cast<ULONG>(digest.size()), 0))) {
    return std::nullopt;
  }
  return digest;
}

}  // namespace platform
