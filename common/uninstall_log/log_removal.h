// Carrying out an uninstall log on Windows: the part that the installer's replay and the
// uninstaller's removal do alike.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/registry_view/product_line_view.h"
#include "common/uninstall_log/log_reader.h"

namespace uninstall_log {

// The whole log, opened without sharing, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeLog(const std::string& path);

// What a removal does with a listed file that another program holds: the uninstaller and
// the replay of an earlier version delete it at the next restart; a roll-back leaves it,
// since the file may have been there before the install.
enum class HeldFiles { kLeave, kDeleteAtRestart };

// What a removal could not do at once.
struct RemovalOutcome {
  int left = 0;       // listed files and registry entries still there (one already absent counts as removed)
  int scheduled = 0;  // files held by another program, deleted when Windows next starts
};

// Deletes every file of section 0 (read-only ones too), removes every registry key or
// value of section 1, deletes the log itself at `logPath` and removes every (empty)
// folder of section 2, splitting `text` in place. HKEY_LOCAL_MACHINE records are carried
// out in `view`. With HeldFiles::kDeleteAtRestart a file another program holds is deleted
// at the next restart instead, and once anything is, so is every listed folder that cannot
// be removed now (Windows removes it then if it is empty). `beforeLog`, when given, runs once just before the log goes,
// with what is left so far; it may count a file it scheduled itself. The folders go in
// the log's order, but those that hold the log only after it, so that a removal ended
// before the log went leaves no other folder. A key record naming `keptKey` is passed over
// and left to the caller. Every failure is passed over; the walk goes on.
void CarryOutSections(const std::string& logPath, std::string& text, RootRule rule, registry_view::View view,
                      HeldFiles held, const std::function<void(RemovalOutcome&)>& beforeLog = {},
                      const std::string& keptKey = {});

}  // namespace uninstall_log
