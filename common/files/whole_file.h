// Reading a file whole, the way every reader of the kit takes its input.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace files {

// The file's bytes, read at once and the file closed again; at most `maxBytes` of them.
// Nothing when the file cannot be opened (existing files only) with `shareMode`. Bytes
// that cannot be read after a successful open are left out.
std::optional<std::string> ReadWholeFile(const std::string& path, DWORD shareMode = FILE_SHARE_READ,
                                         std::size_t maxBytes = 0x7FFFFFFF);

// Writes exactly these bytes to a file of the install, created with the installed rights
// (an existing one replaced); false when it cannot.
bool WriteInstalledFile(const std::string& path, const std::string& bytes);

}  // namespace files
