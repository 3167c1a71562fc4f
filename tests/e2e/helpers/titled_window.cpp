// Test helper: a top-level window with a given title that closes on the k-th close
// request (0: never). Command line: titled_window.exe <k> <title>. Exit code: requests seen.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "sample/standin_window.h"
#include "uninstall/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string arguments(command_line::ArgumentAfterProgramName(GetCommandLineA()));
  const std::size_t blank = arguments.find(' ');
  const int closeOn = std::atoi(arguments.substr(0, blank).c_str());
  const std::string title = blank == std::string::npos ? "" : arguments.substr(blank + 1);
  return standin::RunTitledWindow("titled_window.exe", title.c_str(), closeOn);
}
