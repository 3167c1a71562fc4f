// SHA-256, fed a piece at a time: by the processor's SHA instructions where it has them,
// else by Windows' own cryptography (which under Wine hashes at a fraction of their speed).
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstddef>
#include <optional>

#include "common/medium/sha256_instructions.h"

namespace platform {

using Sha256Digest = std::array<unsigned char, 32>;

class Sha256Hash {
 public:
  Sha256Hash();
  ~Sha256Hash();
  Sha256Hash(const Sha256Hash&) = delete;
  Sha256Hash& operator=(const Sha256Hash&) = delete;

  void Add(const void* bytes, std::size_t length);
  // The digest of everything added; nothing when Windows could not hash.
  std::optional<Sha256Digest> Finish();

 private:
  std::optional<medium::Sha256ByInstructions> instructions_;
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
  bool failed_ = false;
};

}  // namespace platform
