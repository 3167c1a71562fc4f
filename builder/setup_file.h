// The single-file setup: the setup program with a checked medium as its payload, for a
// download or a deployment catalogue.
#pragma once

#include <filesystem>
#include <string>

#include "common/medium/payload_format.h"

namespace builder {

// Writes `setup` from the setup program `stub` and every file of `medium`, the programs
// and the manifest first, then the product's files in the manifest's order. Each file is
// compressed with zlib when that saves a twentieth of it, else stored. False, with
// `error` set, when a file cannot be read or written.
bool WriteSetupFile(const std::filesystem::path& medium, const std::filesystem::path& stub,
                    const std::filesystem::path& setup, std::string& error);

// The SHA-256 of a whole file, as lower-case hexadecimal; empty when it cannot be read.
std::string FileSha256Hex(const std::filesystem::path& file);

}  // namespace builder
