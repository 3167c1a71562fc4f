// The smallest file Windows' loader format describes: an MZ header naming a PE header with
// one section of 0x200 bytes at 0x200, nothing after it. What the single-file setup's
// tests append a payload to.
#pragma once

#include <string>

namespace test_support {

inline std::string MinimalProgram() {
  std::string file(0x400, '\0');
  file[0] = 'M';
  file[1] = 'Z';
  file[0x3C] = 0x40;
  file.replace(0x40, 4, std::string("PE\0\0", 4));
  file[0x46] = 1;     // one section
  file[0x54] = 0x10;  // a 16-byte optional header
  const std::size_t section = 0x40 + 24 + 0x10;
  file[section + 17] = 0x02;  // 0x200 raw bytes
  file[section + 21] = 0x02;  // at 0x200
  return file;
}

}  // namespace test_support
