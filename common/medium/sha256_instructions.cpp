#include "common/medium/sha256_instructions.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define KIT_SHA_INSTRUCTIONS 1
#endif

namespace medium {

#if KIT_SHA_INSTRUCTIONS

namespace {

alignas(16) constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

// Hashes whole 64-byte blocks into `state`. Four rounds at a time: the words of the next
// four rounds' message are made from the last sixteen while these run.
__attribute__((target("sha,sse4.1"))) void HashBlocks(std::uint32_t state[8], const unsigned char* data,
                                                      std::size_t blocks) {
  const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  __m128i cdab = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);
  __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  for (; blocks > 0; --blocks, data += 64) {
    const __m128i abefBefore = abef;
    const __m128i cdghBefore = cdgh;
    __m128i words[4];
    for (std::size_t i = 0; i < 4; ++i) {
      words[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i)), byteOrder);
    }
    for (std::size_t group = 0; group < 16; ++group) {
      __m128i& current = words[group % 4];
      __m128i message =
          _mm_add_epi32(current, _mm_load_si128(reinterpret_cast<const __m128i*>(&kRoundConstants[4 * group])));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
      message = _mm_shuffle_epi32(message, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
      if (group < 12) {
        // W[t] = σ1(W[t-2]) + W[t-7] + σ0(W[t-15]) + W[t-16], for the group four ahead.
        const __m128i& next = words[(group + 1) % 4];
        const __m128i& third = words[(group + 2) % 4];
        const __m128i& last = words[(group + 3) % 4];
        current = _mm_sha256msg1_epu32(current, next);
        current = _mm_add_epi32(current, _mm_alignr_epi8(last, third, 4));
        current = _mm_sha256msg2_epu32(current, last);
      }
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

}  // namespace

bool HasShaInstructions() {
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || (ecx & bit_SSE4_1) == 0 || (ecx & bit_SSSE3) == 0) return false;
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid_count(7, 0, eax, ebx, ecx, edx);
  return (ebx & bit_SHA) != 0;
}

#else

bool HasShaInstructions() { return false; }
void HashBlocks(std::uint32_t*, const unsigned char*, std::size_t) {}

#endif

void Sha256ByInstructions::Add(const void* bytes, std::size_t length) {
  const auto* next = static_cast<const unsigned char*>(bytes);
  totalBytes_ += length;
  if (pendingBytes_ > 0) {
    const std::size_t taken = std::min(length, sizeof pending_ - pendingBytes_);
    std::memcpy(pending_ + pendingBytes_, next, taken);
    pendingBytes_ += taken;
    next += taken;
    length -= taken;
    if (pendingBytes_ < sizeof pending_) return;
    HashBlocks(state_, pending_, 1);
    pendingBytes_ = 0;
  }
  HashBlocks(state_, next, length / 64);
  pendingBytes_ = length % 64;
  std::memcpy(pending_, next + length - pendingBytes_, pendingBytes_);
}

std::array<unsigned char, 32> Sha256ByInstructions::Finish() {
  // The padding: one bit, zeros, and the length in bits at the end of the last block.
  const std::uint64_t bits = totalBytes_ * 8;
  unsigned char padding[72] = {0x80};
  const std::size_t zeros = (pendingBytes_ < 56 ? 56 : 120) - pendingBytes_;
  for (int i = 0; i < 8; ++i) padding[zeros + i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
  Add(padding, zeros + 8);
  std::array<unsigned char, 32> digest{};
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<unsigned char>(state_[i] >> (24 - 8 * j));
  }
  return digest;
}

}  // namespace medium
