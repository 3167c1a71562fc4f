// Reading a shell link the installer saved.
#pragma once

#include <string>

namespace e2e {

// The target path (or address) and description of a .lnk file; empty when it cannot be
// loaded.
struct ShortcutSeen {
  std::string target;
  std::string description;
};
ShortcutSeen ReadShortcut(const std::string& linkPath);

}  // namespace e2e
