#include <string>

#include "common/uninstall_log/log_removal.h"
#include "product/product_facts.h"
#include "uninstall/uninstaller.h"

namespace uninstall {

namespace {

// The first run may still be ending and holds its program file while it lives.
void DeleteWhileLocked(const std::string& path) {
  constexpr int kMoreTries = 600;
  constexpr DWORD kPauseMs = 100;
  for (int retry = 0; !DeleteFileA(path.c_str()) && retry < kMoreTries; ++retry) Sleep(kPauseMs);
}

}  // namespace

void RemovalRun(const std::string& logPath) {
  if (std::optional<std::string> text = uninstall_log::ReadWholeLog(logPath)) {
    DeleteFileA(logPath.c_str());
    // The installed program lies beside the log; a log path without a folder names none.
    if (const std::size_t lastBackslash = logPath.rfind('\\'); lastBackslash != std::string::npos) {
      DeleteWhileLocked(logPath.substr(0, lastBackslash + 1) + product::kUninstallerFile);
    }
    uninstall_log::CarryOutSections(*text, uninstall_log::RootRule::kLeadingPart, registry::kProductLineView);
  }
  ShowFinishPage();
}

}  // namespace uninstall
