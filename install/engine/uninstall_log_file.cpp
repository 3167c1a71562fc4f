#include "install/engine/uninstall_log_file.h"

#include "install/engine/diagnostic_log.h"
#include "resources/installer_texts.h"
#include "common/platform/files.h"
#include "common/platform/machine_changes.h"

namespace engine {

bool UninstallLogFile::Create(const std::string& path) {
  path_ = path;
  return writer_.Create(platform::CreateInstalledStreamGbk(path));
}

void UninstallLogFile::Record(const std::string& record) { CheckWrite(writer_.WriteLine(record)); }

void UninstallLogFile::EndSection() { CheckWrite(writer_.EndSection()); }

// Every record went to disk unbuffered when it was written; closing has nothing left to
// report.
void UninstallLogFile::Close() { writer_.Close(); }

void UninstallLogFile::CheckWrite(bool written) {
  platform::ReportedChange(written);
  if (written || failureReported_) return;
  failureReported_ = true;
  state_.InstallFailed = true;
  ReportError(state_.Unattended, owner_, path_ + texts::kCannotWrite, GetLastError());
  abortRequested_ = 1;
}

}  // namespace engine
