// The uninstall log as the install worker writes it. A failed write is reported once
// and stops the install, since a log with gaps could not undo it.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "common/uninstall_log/log_writer.h"
#include "install/engine/installer_state.h"

namespace engine {

class UninstallLogFile {
 public:
  UninstallLogFile(InstallerState& state, HWND messageOwner, std::atomic<int>& abortRequested)
      : state_(state), owner_(messageOwner), abortRequested_(abortRequested) {}

  bool Create(const std::string& path);
  void Record(const std::string& record);
  void EndSection();
  void Close();

 private:
  void CheckWrite(bool written);

  uninstall_log::LogWriter writer_;
  InstallerState& state_;
  std::string path_;
  HWND owner_;
  std::atomic<int>& abortRequested_;
  bool failureReported_ = false;
};

}  // namespace engine
