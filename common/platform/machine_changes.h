// Every change the programs make to the machine (a file created, copied, written or
// deleted, a folder made or removed, a registry key or value set or deleted, a shortcut
// saved, a program started) is reported here once it has succeeded. The shipped programs
// do nothing with the report; the crash-point test build counts the reports and can end
// the program right after any one of them.
#pragma once

#include <windows.h>

namespace platform {

void MachineChanged();

// The outcome of a call that changes the machine, passed on; reported when it succeeded.
inline bool ReportedChange(bool succeeded) {
  if (succeeded) MachineChanged();
  return succeeded;
}
inline LONG ReportedRegistryChange(LONG status) {
  if (status == ERROR_SUCCESS) MachineChanged();
  return status;
}

}  // namespace platform
