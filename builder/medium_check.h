// The installer's rules for a medium, as the maker's builder checks them before anything
// is shipped. They come from the installer's own code (manifest line rules, install
// tree, adnote window, GBK searches), so that a medium that passes installs.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace builder {

// One problem, reported as "FILE:LINE: error: MESSAGE" (without ":LINE" when it is 0).
struct Problem {
  std::string file;
  int line = 0;
  std::string message;
};
std::string Describe(const Problem& problem);

// Why the installer could not copy a product file listed under this name (GBK, "\"
// between folders) into TargetDir; empty when it can. The settings file is no product
// file: it is listed for removal and never copied.
std::vector<std::string> NameErrors(std::string_view gbkName);

// The same name with ASCII letters upper-cased, GBK-aware: Windows sees two names that
// differ only there as one file.
std::string CaseFolded(std::string_view gbkName);

// Problems of a manifest's lines (GBK, CR LF): more than the installer reads, a line
// that ends the list early, names the installer cannot copy, names that differ only in
// case. `isDataFile` tells whether data\ holds a file of that name.
std::vector<Problem> ManifestProblems(const std::vector<std::string>& lines,
                                      const std::function<bool(const std::string&)>& isDataFile);

// Problems of the adnote value as install.ini holds it (GBK): the installer reads only the
// first 64 bytes, and the value ends with its line.
std::vector<std::string> AdnoteErrors(std::string_view gbkValue);

}  // namespace builder
