// The medium builder's command line: the options of "build", read into one record, and the
// builder's one usage text.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace builder {

struct BuildOptions {
  std::filesystem::path product;
  std::filesystem::path out;
  std::filesystem::path installer;    // the built install.exe
  std::filesystem::path uninstaller;  // the built uninstall.exe
  std::optional<std::string> licence, adnote, order, iso;
  // The single-file setup to write, the setup program it is made of, and its winget
  // manifest's folder and download address.
  std::optional<std::string> setup, setupProgram, winget, url;
  // sign-cert, sign-key, sign-pkcs12, sign-password-file and timestamp, as signing.h reads them.
  std::map<std::string, std::string> signing;
};

// The arguments after "build"; nothing when they are not the builder's.
std::optional<BuildOptions> ParseBuildOptions(const std::vector<std::string>& arguments);

// Writes the usage text to standard error and answers the exit status for it.
int Usage();

}  // namespace builder
