// The "adnote" value that the installer carries from "install.ini" into the product's
// settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Bytes of "install.ini" that are looked at.
inline constexpr std::size_t kAdnoteWindowBytes = 64;

// From the start of "install.ini" (only its first 64 bytes count, up to a NUL): the text
// after the first "=" that follows the first "adnote", to the end of that line, without
// leading white space. Nothing when "adnote" or the "=" after it is missing.
std::optional<std::string> ExtractAdnote(std::string_view fileStart);

}  // namespace engine
