#include "install/engine/adnote.h"

namespace engine {

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

}  // namespace engine
