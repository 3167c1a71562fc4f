#include "common/command_line/install_options.h"

#include "common/gbk/free_space_root.h"
#include "common/gbk/gbk_search.h"
#include "product/product_facts.h"

namespace command_line {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

bool StartsWithSwitch(std::string_view text, std::string_view name) {
  if (text.size() < name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (gbk::FoldAsciiCase(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(name[i])) return false;
  }
  return true;
}

// The next argument from `pos` on, without the quotes when the whole argument is quoted
// ("/D=C:\a b", as some launchers write it) or its value is (/LOG="C:\a b.log"); `pos`
// moves past it. `quoted` tells a quoted whole argument, which ends at its quote.
std::string_view NextArgument(std::string_view arguments, std::size_t& pos, bool& quoted, bool& unterminated) {
  quoted = arguments[pos] == '"';
  const std::size_t start = quoted ? pos + 1 : pos;
  std::size_t end = start;
  bool inQuotes = quoted;
  while (end < arguments.size() && (inQuotes || !IsBlank(arguments[end]))) {
    if (arguments[end] == '"') inQuotes = !inQuotes;
    ++end;
  }
  unterminated = inQuotes;
  pos = end;
  std::string_view argument = arguments.substr(start, end - start);
  if (quoted && !unterminated) argument.remove_suffix(1);
  return argument;
}

}  // namespace

InstallOptions ParseInstallOptions(std::string_view arguments) {
  InstallOptions options;
  std::size_t pos = 0;
  while (options.invalidArgument.empty()) {
    while (pos < arguments.size() && IsBlank(arguments[pos])) ++pos;
    if (pos == arguments.size()) break;
    const std::size_t start = pos;
    bool quoted = false;
    bool unterminated = false;
    const std::string_view argument = NextArgument(arguments, pos, quoted, unterminated);
    if (unterminated) {
      options.invalidArgument = std::string(arguments.substr(start));
    } else if (StartsWithSwitch(argument, product::kInstallFolderSwitch)) {
      // Unquoted, the folder runs to the end of the line, blanks included.
      constexpr std::size_t kSwitchLength = sizeof product::kInstallFolderSwitch - 1;
      std::string_view folder = quoted ? argument.substr(kSwitchLength) : arguments.substr(start + kSwitchLength);
      while (!folder.empty() && IsBlank(folder.back())) folder.remove_suffix(1);
      // Only an absolute folder: a drive and ":\", or a network share.
      if (gbk::FreeSpaceRoot(folder)) {
        options.targetDir = std::string(folder);
      } else {
        options.invalidArgument = product::kInstallFolderSwitch + std::string(folder);
      }
      if (!quoted) break;
    } else if (StartsWithSwitch(argument, product::kLogSwitch) && argument.size() > sizeof product::kLogSwitch - 1) {
      std::string_view path = argument.substr(sizeof product::kLogSwitch - 1);
      if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
      if (path.empty() || path.find('"') != std::string_view::npos) {
        options.invalidArgument = std::string(argument);
      } else {
        options.logPath = std::string(path);
      }
    } else if (product::IsUnattendedSwitch(argument)) {
      options.unattended = true;
    } else {
      options.invalidArgument = std::string(argument);
    }
  }
  return options;
}

}  // namespace command_line
