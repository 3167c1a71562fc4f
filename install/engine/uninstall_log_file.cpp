#include "install/engine/install_log.h"

#include "install/app/diagnostic_log.h"
#include "install/app/installer_state.h"
#include "install/app/installer_texts.h"
#include "common/platform/files.h"
#include "common/platform/machine_changes.h"

namespace engine {

bool InstallLog::Create(const std::string& path) {
  path_ = path;
  return writer_.Create(platform::CreateInstalledStreamGbk(path));
}

void InstallLog::Record(const std::string& record) { CheckWrite(writer_.WriteLine(record)); }

void InstallLog::EndSection() { CheckWrite(writer_.EndSection()); }

// Every record went to disk unbuffered when it was written; closing has nothing left to
// report.
void InstallLog::Close() { writer_.Close(); }

void InstallLog::CheckWrite(bool written) {
  platform::ReportedChange(written);
  if (written || failureReported_) return;
  failureReported_ = true;
  app::InstallFailed = true;
  app::ReportError(owner_, path_ + app::kCannotWrite, GetLastError());
  abortRequested_ = 1;
}

}  // namespace engine
