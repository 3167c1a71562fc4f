// Test helper: a top-level window with a given title that loses it on the k-th close
// request (0: never) and stays, counting, until closed. Command line:
// titled_window.exe <k> <title>. Exit code: requests seen.
// As "titled_window.exe open <file>" it stands in for the program a file type opens with:
// it notes "open <file>" in the stand-ins' start log and ends.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "sample/standin_window.h"
#include "common/command_line/command_line.h"
#include "e2e_driver/wide.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string line = e2e::Gbk(GetCommandLineW());
  const std::string arguments(command_line::ArgumentAfterProgramName(line));
  if (arguments.rfind("open ", 0) == 0) {
    sample::NoteStart(arguments.c_str());
    return 0;
  }
  const std::size_t blank = arguments.find(' ');
  const int closeOn = std::atoi(arguments.substr(0, blank).c_str());
  const std::string title = blank == std::string::npos ? "" : arguments.substr(blank + 1);
  return sample::RunTitledWindow("titled_window.exe", title.c_str(), closeOn, /*lingerRetitled=*/true);
}
