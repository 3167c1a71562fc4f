// The crash build's side of the machine-change reports: counts them in the shared tally,
// ends the program right after the chosen one, and holds it where a test asks.
#include <windows.h>

#include <cwchar>

#include "common/crash_build/crash_build.h"
#include "common/platform/machine_changes.h"
#include "tests/hold/hold_point.h"

namespace platform {

namespace {

struct CrashPoint {
  long at = 0;  // 0: never
  crash_points::Tally* tally = nullptr;
};

crash_points::Tally g_ownTally{};  // when the shared one cannot be made

CrashPoint Read() {
  CrashPoint point;
  wchar_t value[16] = L"";
  const DWORD length = GetEnvironmentVariableW(L"" KIT_CRASH_AT_VARIABLE, value, 16);
  if (length > 0 && length < 16) point.at = std::wcstol(value, nullptr, 10);
  // The mapping stays open for the program's life, so that the programs it starts share it.
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(crash_points::Tally),
                                      L"" KIT_CRASH_TALLY_NAME);
  void* view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(crash_points::Tally)) : nullptr;
  point.tally = view != nullptr ? static_cast<crash_points::Tally*>(view) : &g_ownTally;
  return point;
}

}  // namespace

void MachineChanged() {
  static const CrashPoint point = Read();
  const LONG count = InterlockedIncrement(reinterpret_cast<volatile LONG*>(&point.tally->changes));
  if (point.at > 0 && count == point.at) {
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&point.tally->crashedAt), count);
    TerminateProcess(GetCurrentProcess(), crash_points::kCrashExitCode);
  }
  hold_point::HoldAfterChange();
}

}  // namespace platform
