#include "install/engine/copy_profile.h"

#ifdef KIT_PROFILE

#include <atomic>
#include <cstdio>

namespace engine {

namespace {

constexpr const char* kStepNames[] = {"before first file", "folder tree", "fetch line",          "status text",
                                      "CopyFile",          "log record",  "progress position",   "shortcuts",
                                      "settings",          "registry",    "painting (UI thread)"};
static_assert(sizeof kStepNames / sizeof kStepNames[0] == static_cast<int>(ProfileStep::kCount));

std::atomic<long long> g_ticks[static_cast<int>(ProfileStep::kCount)];
std::atomic<long long> g_counts[static_cast<int>(ProfileStep::kCount)];

}  // namespace

ProfileTimer::ProfileTimer(ProfileStep step) : step_(step) { QueryPerformanceCounter(&start_); }

ProfileTimer::~ProfileTimer() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  g_ticks[static_cast<int>(step_)] += now.QuadPart - start_.QuadPart;
  ++g_counts[static_cast<int>(step_)];
}

void WriteProfile() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD length = GetEnvironmentVariableW(L"QUENDRAL_PROFILE", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::FILE* out = _wfopen(path, L"w");
  if (out == nullptr) return;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int step = 0; step < static_cast<int>(ProfileStep::kCount); ++step) {
    std::fprintf(out, "%s\t%lld\t%.3f\n", kStepNames[step], g_counts[step].load(),
                 1000.0 * static_cast<double>(g_ticks[step].load()) / static_cast<double>(frequency.QuadPart));
  }
  std::fclose(out);
}

}  // namespace engine

#endif
