#include "common/medium/manifest_rules.h"

namespace medium {

std::vector<std::string_view> ManifestLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; static_cast<int>(lines.size()) < kMaxLines;) {
    const std::size_t crlf = text.find("\r\n", start);
    if (crlf == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    const std::size_t end = crlf > start && text[crlf - 1] == '\r' ? crlf - 1 : crlf;
    lines.push_back(text.substr(start, end - start));
    start = crlf + 2;
  }
  for (std::string_view& line : lines) line = line.substr(0, kMaxLineBytes);
  return lines;
}

bool EndsList(std::string_view line) { return line.empty() || line == "*****"; }

bool IsLoggedNotCopied(std::string_view line) {
  return line.size() > 1 && line.find(".ini", 1) != std::string_view::npos;
}

std::string ManifestText(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
  return text;
}

std::vector<std::string> WrittenManifestLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find("\r\n", start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 2;
  }
}

}  // namespace medium
