#include "install/engine/manifest_rules.h"

namespace engine {

bool EndsList(std::string_view line) { return line.empty() || line == "*****"; }

bool IsLoggedNotCopied(std::string_view line) {
  return line.size() > 1 && line.find(".ini", 1) != std::string_view::npos;
}

}  // namespace engine
