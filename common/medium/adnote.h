// The "adnote" value that the installer carries from "install.ini" into the product's
// settings file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace medium {

// Bytes of "install.ini" that are looked at.
inline constexpr std::size_t kAdnoteWindowBytes = 64;

// From the start of "install.ini" (only its first 64 bytes count, up to a NUL): the text
// after the first "=" that follows the first "adnote", to the end of that line, without
// leading white space. Nothing when "adnote" or the "=" after it is missing.
std::optional<std::string> ExtractAdnote(std::string_view fileStart);

// The settings file's text with `key`=`value` set in [`section`], as the profile functions
// would write it, but keeping the GBK bytes: they write a new file in the system's code
// page, which on an English Windows has no Chinese. A key of the section is replaced in
// place, a missing one goes after the section's last line, and a missing section is added
// at the end. Names compare without regard to ASCII case; lines end in CR LF.
std::string WithProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

}  // namespace medium
