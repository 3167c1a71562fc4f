// SHA-256 by the processor's own SHA instructions (x86 SHA extensions), where it has them:
// several times the speed of a hash in plain code, which is what Windows' cryptography
// gives under Wine. Everywhere else, nothing: the caller hashes another way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace medium {

// Whether this processor has the instructions.
bool HasShaInstructions();

// A hash fed a piece at a time; only where HasShaInstructions() holds.
class Sha256ByInstructions {
 public:
  void Add(const void* bytes, std::size_t length);
  std::array<unsigned char, 32> Finish();

 private:
  std::uint32_t state_[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  unsigned char pending_[64] = {};
  std::size_t pendingBytes_ = 0;
  std::uint64_t totalBytes_ = 0;
};

}  // namespace medium
