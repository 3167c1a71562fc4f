#include "common/platform/process.h"

#include <vector>

#include "common/command_line/command_line.h"
#include "common/platform/files.h"
#include "common/platform/gbk_text.h"
#include "common/platform/machine_changes.h"

namespace platform {

namespace {

// Starts a program shown; answers its process handle, which the caller closes.
HANDLE Start(const wchar_t* program, std::wstring commandLine, bool inheritHandles) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION started{};
  // CreateProcessW may write into the command line's buffer. Under load Wine now and then
  // fails a start with ERROR_INTERNAL_ERROR that the next try does not: tried three times.
  constexpr int kTries = 3;
  const std::wstring line = commandLine;
  for (int tried = 1; !CreateProcessW(program, commandLine.data(), nullptr, nullptr, inheritHandles ? TRUE : FALSE, 0,
                                      nullptr, nullptr, &startup, &started);
       ++tried) {
    if (tried == kTries || GetLastError() != ERROR_INTERNAL_ERROR) return nullptr;
    commandLine = line;
    Sleep(100);
  }
  CloseHandle(started.hThread);
  return started.hProcess;
}

}  // namespace

std::optional<std::string> CommandLineGbk(std::string* shown) {
  const std::wstring line = GetCommandLineW();
  if (shown != nullptr) *shown = GbkForShowing(line);
  return GbkFromWide(line);
}

std::wstring ArgumentsWide() {
  const std::wstring_view line = GetCommandLineW();
  const std::wstring own = ModuleFileNameWide().value_or(L"");
  // The program's own path, unquoted, compared as Windows compares paths.
  const bool startsWithOwnPath = !own.empty() && line.size() >= own.size() &&
                                 CompareStringOrdinal(line.data(), static_cast<int>(own.size()), own.data(),
                                                      static_cast<int>(own.size()), TRUE) == CSTR_EQUAL &&
                                 (line.size() == own.size() || line[own.size()] <= L' ');
  return std::wstring(command_line::ArgumentAfterName(line, startsWithOwnPath ? own.size() : 0));
}

std::optional<std::string> GetEnvironmentVariableGbk(const std::string& name) {
  const WideName variable(name);
  if (!variable.Valid()) return std::nullopt;
  const DWORD size = GetEnvironmentVariableW(variable.Get(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::vector<wchar_t> value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(variable.Get(), value.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  return GbkFromWide(std::wstring_view(value.data(), length));
}

bool SetEnvironmentVariableGbk(const std::string& name, const std::string& value) {
  const WideName variable(name);
  const WideName text(value);
  return variable.Valid() && text.Valid() && SetEnvironmentVariableW(variable.Get(), text.Get());
}

bool WinExecGbk(const std::string& commandLine) {
  const WideName line(commandLine);
  if (!line.Valid()) return false;
  HANDLE process = Start(nullptr, line.Get(), false);
  if (process == nullptr) return false;
  MachineChanged();
  WaitForInputIdle(process, 30000);
  CloseHandle(process);
  return true;
}

HANDLE StartProcessWide(const std::wstring& program, const std::wstring& commandLine, bool inheritHandles) {
  HANDLE process = Start(program.c_str(), commandLine, inheritHandles);
  if (process != nullptr) MachineChanged();
  return process;
}

std::string WindowsErrorUtf8(DWORD error) {
  wchar_t* message = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text =
      "Windows error " + std::to_string(error) + ": " + (message != nullptr ? Utf8FromWide(message) : "");
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace platform
