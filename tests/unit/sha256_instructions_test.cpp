// SHA-256 by the processor's SHA instructions: the standard's own examples, fed whole and in
// pieces that cross the 64-byte blocks.
#include <gtest/gtest.h>

#include <string>

#include "common/medium/sha256_instructions.h"

namespace {

std::string Hex(const std::array<unsigned char, 32>& digest) {
  std::string text;
  for (unsigned char byte : digest) {
    text += "0123456789abcdef"[byte >> 4];
    text += "0123456789abcdef"[byte & 15];
  }
  return text;
}

std::string HashInPieces(const std::string& bytes, std::size_t piece) {
  medium::Sha256ByInstructions hash;
  for (std::size_t at = 0; at < bytes.size(); at += piece) hash.Add(bytes.data() + at, std::min(piece, bytes.size() - at));
  return Hex(hash.Finish());
}

TEST(Sha256ByInstructions, TheStandardsExamplesWholeAndInPieces) {
  if (!medium::HasShaInstructions()) GTEST_SKIP() << "this processor has no SHA instructions";
  const struct {
    std::string bytes;
    const char* digest;
  } examples[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& example : examples) {
    for (std::size_t piece : {std::size_t{1000000}, std::size_t{1}, std::size_t{63}, std::size_t{65}}) {
      EXPECT_EQ(HashInPieces(example.bytes, piece), example.digest) << example.bytes.size() << " bytes by " << piece;
    }
  }
}

}  // namespace
