#include "common/medium/adnote.h"

#include <vector>

#include "common/gbk/gbk_search.h"

namespace medium {

std::optional<std::string> ExtractAdnote(std::string_view fileStart) {
  std::string_view text = fileStart.substr(0, kAdnoteWindowBytes);
  text = text.substr(0, text.find('\0'));
  const std::size_t key = text.find("adnote");
  if (key == std::string_view::npos) return std::nullopt;
  const std::size_t equals = text.find('=', key);
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view value = text.substr(equals + 1);
  // The value ends with its line: later lines of install.ini must not reach the product's
  // settings file.
  value = value.substr(0, value.find_first_of("\r\n"));
  const std::size_t start = value.find_first_not_of(" \t\v\f");
  return std::string(start == std::string_view::npos ? std::string_view() : value.substr(start));
}

namespace {

std::string_view Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (gbk::FoldAsciiCase(static_cast<unsigned char>(a[i])) != gbk::FoldAsciiCase(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  const std::string entry = std::string(key) + "=" + std::string(value);
  std::size_t insertAt = 0;  // after the section's last line that is not empty
  bool inSection = false;
  bool sectionFound = false;
  bool replaced = false;
  std::vector<std::string> out;
  for (std::string_view line : lines) {
    const std::string_view name = Trimmed(line);
    if (!name.empty() && name.front() == '[') {
      inSection = name.back() == ']' && SameName(Trimmed(name.substr(1, name.size() - 2)), section);
      sectionFound = sectionFound || inSection;
    } else if (const std::size_t equals = line.find('='); inSection && !replaced && equals != std::string_view::npos &&
                                                          SameName(Trimmed(line.substr(0, equals)), key)) {
      out.push_back(entry);
      replaced = true;
      continue;
    }
    out.emplace_back(line);
    if (inSection && !name.empty()) insertAt = out.size();
  }
  if (sectionFound && !replaced) {
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
  } else if (!sectionFound) {
    while (!out.empty() && out.back().empty()) out.pop_back();
    if (!out.empty()) out.emplace_back();
    out.push_back("[" + std::string(section) + "]");
    out.push_back(entry);
  }
  std::string result;
  for (const std::string& line : out) result += line + "\r\n";
  return result;
}

}  // namespace medium
