// The setup's unpacking, with a small window when it takes a while.
#pragma once

#include <string>
#include <string_view>

#include "setup/unpack.h"

namespace setup {

// Unpacks `payload` into `folder` on a thread of its own. When `showProgress` is set and
// it is not done within half a second, a small window with a progress bar shows until it is.
UnpackResult UnpackShowingProgress(std::string_view payload, const std::wstring& folder, bool showProgress);

}  // namespace setup
