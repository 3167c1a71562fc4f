// Shared by the fuzz harnesses: the input as bytes, and a check that stops the run.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline std::string Bytes(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A broken property is a finding: abort so that libFuzzer saves the input.
inline void Require(bool holds, const char* what) {
  if (!holds) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

}  // namespace fuzz
