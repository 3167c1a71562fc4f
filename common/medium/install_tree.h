// The folders the install worker creates inside TargetDir, in creation order. A product
// file can only be copied into TargetDir itself or one of these; the medium builder checks
// a manifest against the same list.
#pragma once

#include <string>
#include <vector>

namespace medium {

inline std::vector<std::string> InstallTreeFolders() {
  std::vector<std::string> folders = {"word", "sound"};
  for (const char* numbered : {"mp3lib", "bok"}) {
    folders.emplace_back(numbered);
    for (char digit = '1'; digit <= '6'; ++digit) folders.push_back(std::string(numbered) + "\\" + digit);
  }
  folders.emplace_back("mp3");
  folders.emplace_back("users");
  return folders;
}

}  // namespace medium
