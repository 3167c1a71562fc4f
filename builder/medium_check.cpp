#include "builder/medium_check.h"

#include <map>

#include "common/gbk/gbk_search.h"
#include "common/medium/adnote.h"
#include "common/medium/install_tree.h"
#include "common/medium/manifest_rules.h"
#include "product/product_facts.h"

namespace builder {

namespace {

bool IsReservedDeviceName(std::string_view component) {
  const std::string base = CaseFolded(component.substr(0, component.find('.')));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

// What is wrong with one folder or file name of a path.
void ComponentErrors(std::string_view component, std::vector<std::string>& errors) {
  if (component.empty()) {
    errors.emplace_back("has an empty folder name");
    return;
  }
  for (std::size_t i = 0; i < component.size(); ++i) {
    const auto byte = static_cast<unsigned char>(component[i]);
    if (gbk::IsLeadByte(byte) && i + 1 < component.size()) {
      ++i;  // a double-byte character; its trail byte is no character of its own
    } else if (byte < 0x20) {
      errors.emplace_back("holds a control character");
    } else if (std::string_view("<>:\"|?*/").find(static_cast<char>(byte)) != std::string_view::npos) {
      errors.emplace_back(std::string("holds the character ") + static_cast<char>(byte) +
                          ", which Windows does not allow in a file name");
    }
  }
  if (component.back() == ' ' || component.back() == '.') {
    errors.emplace_back("ends with a blank or a dot, which Windows drops");
  }
  if (IsReservedDeviceName(component)) errors.emplace_back("is a reserved device name: " + std::string(component));
}

std::string AllowedFolders() {
  std::string list = "the install folder itself";
  for (const std::string& folder : medium::InstallTreeFolders()) list += ", " + folder;
  return list;
}

}  // namespace

std::string Describe(const Problem& problem) {
  return problem.file + (problem.line > 0 ? ":" + std::to_string(problem.line) : "") + ": error: " + problem.message;
}

std::string CaseFolded(std::string_view gbkName) {
  std::string folded(gbkName);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    if (gbk::IsLeadByte(static_cast<unsigned char>(folded[i])) && i + 1 < folded.size()) {
      ++i;
    } else {
      folded[i] = static_cast<char>(gbk::FoldAsciiCase(static_cast<unsigned char>(folded[i])));
    }
  }
  return folded;
}

std::vector<std::string> NameErrors(std::string_view name) {
  std::vector<std::string> errors;
  if (medium::EndsList(name)) {
    errors.emplace_back("is empty or \"*****\", which ends the list");
    return errors;
  }
  if (name.size() > static_cast<std::size_t>(medium::kMaxLineBytes)) {
    errors.push_back("is " + std::to_string(name.size()) + " bytes long in GBK; the installer reads only " +
                     std::to_string(medium::kMaxLineBytes));
  }
  for (std::size_t start = 0;;) {
    const std::size_t separator = gbk::Find(name, "\\", start);
    ComponentErrors(name.substr(start, separator == gbk::npos ? gbk::npos : separator - start), errors);
    if (separator == gbk::npos) break;
    start = separator + 1;
  }
  const std::size_t lastSeparator = gbk::FindLastBackslash(name);
  if (lastSeparator != gbk::npos) {
    const std::string folder(name.substr(0, lastSeparator));
    bool created = false;
    for (const std::string& allowed : medium::InstallTreeFolders())
      created |= CaseFolded(allowed) == CaseFolded(folder);
    if (!created) {
      errors.push_back("is in the folder " + folder +
                       ", which the installer does not create; allowed: " + AllowedFolders());
    }
  }
  if (CaseFolded(name) != CaseFolded(product::kSettingsFile) && medium::IsLoggedNotCopied(name)) {
    errors.emplace_back(
        "holds \".ini\" after its first character: the installer lists such a file but never copies it");
  }
  return errors;
}

std::vector<Problem> ManifestProblems(const std::vector<std::string>& lines,
                                      const std::function<bool(const std::string&)>& isDataFile) {
  std::vector<Problem> problems;
  auto report = [&problems](int line, const std::string& message) {
    problems.push_back({product::kManifestFile, line, message});
  };
  // A final empty line (the CR LF after the last name) ends the list where it ends anyway.
  std::size_t count = lines.size();
  if (count > 0 && lines.back().empty()) --count;
  if (count > static_cast<std::size_t>(medium::kMaxLines)) {
    report(medium::kMaxLines + 1,
           std::to_string(count) + " lines; the installer reads only the first " + std::to_string(medium::kMaxLines));
  }
  std::map<std::string, int> seen;
  for (std::size_t i = 0; i < count && i < static_cast<std::size_t>(medium::kMaxLines); ++i) {
    const std::string& name = lines[i];
    const int line = static_cast<int>(i) + 1;
    if (medium::EndsList(name)) {
      report(line, "an empty line or \"*****\" ends the list here; the " + std::to_string(count - i - 1) +
                       " lines after it are never installed");
      break;
    }
    for (const std::string& error : NameErrors(name)) report(line, name + " " + error);
    const auto [first, added] = seen.emplace(CaseFolded(name), line);
    if (!added) report(line, name + " differs only in case from line " + std::to_string(first->second));
    if (!medium::IsLoggedNotCopied(name) && !isDataFile(name)) report(line, "data\\" + name + " is missing");
  }
  return problems;
}

std::vector<std::string> AdnoteErrors(std::string_view value) {
  std::vector<std::string> errors;
  if (value.find_first_of("\r\n") != std::string_view::npos) {
    errors.emplace_back("the adnote value holds a line break; the installer reads it to the end of its line");
  }
  const std::string line = "adnote=" + std::string(value) + "\r\n";
  if (medium::ExtractAdnote(line) != std::string(value.substr(0, value.find_first_of("\r\n")))) {
    errors.push_back("the adnote value does not end within the first " + std::to_string(medium::kAdnoteWindowBytes) +
                     " bytes of install.ini (or starts with a blank), so the installer would read it cut short");
  }
  return errors;
}

}  // namespace builder
