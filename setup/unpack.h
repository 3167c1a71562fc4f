// Writes the medium held in the setup's payload into a folder.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

enum class UnpackResult {
  kDone,
  kDamaged,      // the payload's entries do not hold together
  kDiskFull,     // the temporary folder's drive has no room
  kWriteFailed,  // any other failure to write
};

// Writes every file of `payload` under `folder` (with its trailing backslash), making
// the folders they lie in. `remainingBytes` follows the payload bytes not yet written,
// for a progress bar on another thread.
UnpackResult Unpack(std::string_view payload, const std::wstring& folder, std::atomic<std::size_t>& remainingBytes);

}  // namespace setup
