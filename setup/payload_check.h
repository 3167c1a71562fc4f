// The setup's check of its own file before it writes anything.
#pragma once

#include <optional>
#include <string_view>

namespace setup {

// The payload appended to `file`, when its length and SHA-256 are those its header
// gives; nothing for a damaged or cut-off download.
std::optional<std::string_view> CheckedPayload(std::string_view file);

}  // namespace setup
