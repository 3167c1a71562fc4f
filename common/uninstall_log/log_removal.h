// Carrying out an uninstall log on Windows: the part that the installer's replay and the
// uninstaller's removal do alike.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/registry/product_keys.h"
#include "common/uninstall_log/log_reader.h"

namespace uninstall_log {

// The whole log, opened without sharing, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeLog(const std::string& path);

// Deletes every file of section 0 (read-only ones too), removes every registry key or
// value of section 1, deletes the log itself at `logPath` and removes every (empty)
// folder of section 2, splitting `text` in place. HKEY_LOCAL_MACHINE records are carried
// out in `view`. `beforeLog`, when given, runs once just before the log goes, with the
// number of listed files and registry entries still there (one that was already absent
// counts as removed). The folders go in the log's order, but those that hold the log
// only after it, so that a removal ended before the log went leaves no other folder. A
// key record naming `keptKey` is passed over and left to the caller. Every failure is
// passed over; the walk goes on.
void CarryOutSections(const std::string& logPath, std::string& text, RootRule rule, registry::View view,
                      const std::function<void(int entriesLeft)>& beforeLog = {}, const std::string& keptKey = {});

}  // namespace uninstall_log
