// The setup's work before the installer starts: the check of its own file, then the kit's
// own files written into its private folder. The product's files stay in the payload,
// which the installer copies straight into the install folder.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "common/single_setup/payload_file.h"

namespace setup {

enum class UnpackResult {
  kDone,
  kDamaged,      // the payload's length, SHA-256 or entries are not what they must be
  kDiskFull,     // the temporary folder's drive has no room
  kWriteFailed,  // any other failure to write
};

// Checks the located payload; when it is whole, makes a private folder in the temporary
// folder (`folder`, with its trailing backslash) and writes the kit's files into it.
// `readBytes` follows the payload's bytes read, for a progress bar on another thread.
UnpackResult CheckAndUnpack(const single_setup::PayloadFile& payload, std::optional<std::wstring>& folder,
                            std::atomic<std::uint64_t>& readBytes);

}  // namespace setup
