// The crash-point test build of both programs: the same programs, which count every
// change they make to the machine and end at once, with no clean-up, right after the
// change numbered by the environment variable QUENDRAL_CRASH_AT. The count runs on across
// the programs a flow starts (the uninstaller's copy goes on from its first run's count),
// in a tally that every process of the flow shares by name and the test driver reads.
// Never shipped: the medium builder refuses a program that names the variable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#define KIT_CRASH_AT_VARIABLE "QUENDRAL_CRASH_AT"
#define KIT_CRASH_TALLY_NAME "Local\\QuendralCrashTally"

namespace crash_points {

// The shared tally, a named page of memory.
struct Tally {
  std::int32_t changes;    // the changes counted so far, by every process of the flow
  std::int32_t crashedAt;  // the change after which a program ended itself; 0: none yet
};

// The exit code of a program that ended itself at its crash point.
inline constexpr std::uint32_t kCrashExitCode = 0xC4A5;

// Whether a program's bytes hold an ASCII name in UTF-16, the form in which a test build
// looks up what marks it (a variable, a named object).
inline bool HoldsUtf16Name(std::string_view programBytes, std::string_view asciiName) {
  std::string wide;
  for (char letter : asciiName) wide.append({letter, '\0'});
  return programBytes.find(wide) != std::string_view::npos;
}

// Whether a program's bytes are a crash build's: they hold the variable's name.
inline bool IsCrashBuild(std::string_view programBytes) { return HoldsUtf16Name(programBytes, KIT_CRASH_AT_VARIABLE); }

}  // namespace crash_points
