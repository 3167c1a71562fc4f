// The medium as an ISO 9660 disc image, for pressing CDs.
#pragma once

#include <filesystem>
#include <string>

namespace builder {

// Writes `image` from the medium folder with Joliet names (which Windows shows right on
// every code page) and the product's volume label, reads it back and compares it with the
// medium file by file and byte by byte. False, with the reason on standard error, when
// either fails.
bool WriteDiscImage(const std::filesystem::path& medium, const std::string& image);

}  // namespace builder
