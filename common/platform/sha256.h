// SHA-256 by Windows' own cryptography, fed a piece at a time.
#pragma once

#include <windows.h>
#include <bcrypt.h>

#include <array>
#include <cstddef>
#include <optional>

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
  BCRYPT_ALG_HANDLE algorithm_ = nullptr;
  BCRYPT_HASH_HANDLE hash_ = nullptr;
  bool failed_ = false;
};

}  // namespace platform
