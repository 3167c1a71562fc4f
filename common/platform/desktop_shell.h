// Opening a program or document as the user of the desktop: through the desktop's own shell
// (Explorer), which starts it with that user's rights, not with those of this program,
// which may run elevated.
#pragma once

#include <string>

namespace platform {

// Opens `file` (a GBK path, passed to the shell as it stands) with the verb "open" and
// SW_SHOW, as a double-click on the desktop would. A program is then waited for as WinExec
// waits (until it waits for input, at most 30 s), so that what starts next starts after
// it. False when there is no shell desktop (Server Core, a deployment system's session) or
// the shell refused: nothing was started then.
bool OpenAsDesktopUserGbk(const std::string& file, bool waitUntilIdle);

}  // namespace platform
