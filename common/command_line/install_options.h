// The installer's command line, for deployment systems: /S (unattended), /LOG=<file> (a
// diagnostic log; quoted when it holds blanks) and /D=<folder> (the install folder, to the
// end of the line, blanks included). Switches are case-insensitive and blank-separated,
// /D= last. A person starting the wizard gives none of them.
#pragma once

#include <string>
#include <string_view>

namespace command_line {

struct InstallOptions {
  bool unattended = false;
  std::string targetDir;        // empty: the default folder
  std::string logPath;          // empty: no diagnostic log
  std::string invalidArgument;  // the first argument that is not understood; empty when all are
};

// `arguments` is the command line after the program's name.
InstallOptions ParseInstallOptions(std::string_view arguments);

}  // namespace command_line
