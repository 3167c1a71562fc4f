// This process's command line and environment, starting programs and Windows' error texts.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace platform {

// The command line as GBK; nothing when GBK cannot hold it. `shown` gets it with "?" for
// what GBK lacks, for a message that names it.
std::optional<std::string> CommandLineGbk(std::string* shown = nullptr);
// The command line after this program's name, as Windows gave it: what a program passes on
// unchanged to one it starts. The name ends by the rule of command_line.h.
std::wstring ArgumentsWide();

std::optional<std::string> GetEnvironmentVariableGbk(const std::string& name);
bool SetEnvironmentVariableGbk(const std::string& name, const std::string& value);

// WinExec has no wide form: CreateProcessW with the same command line and SW_SHOW, and
// as WinExec does, a wait of at most 30 s until the program waits for input.
bool WinExecGbk(const std::string& commandLine);
// Starts `program` with `commandLine` verbatim, shown; the handles are inherited when
// `inheritHandles` is set. Answers the started process, which the caller closes; null when
// it could not be started.
HANDLE StartProcessWide(const std::wstring& program, const std::wstring& commandLine, bool inheritHandles);

// "Windows error N: <FormatMessageW text>" in UTF-8.
std::string WindowsErrorUtf8(DWORD error);

}  // namespace platform
