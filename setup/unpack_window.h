// The setup's check and unpacking, with a small window when they take a while.
#pragma once

#include <optional>
#include <string>

#include "setup/unpack.h"

namespace setup {

// CheckAndUnpack on a thread of its own. When `showProgress` is set and it is not done
// within half a second, a small window with a progress bar shows until it is.
UnpackResult CheckAndUnpackShowingProgress(const single_setup::PayloadFile& payload,
                                           std::optional<std::wstring>& folder, bool showProgress);

}  // namespace setup
