// The winget manifest set of a single-file setup: the version, default-locale and installer
// files that a winget source (the community repository, or a company's own) takes.
#pragma once

#include <filesystem>
#include <string>

namespace builder {

inline constexpr char kWingetManifestVersion[] = "1.28.0";
inline constexpr char kWingetPackageIdentifier[] = "Morvessa.Quendral";

// Whether winget takes `url` as an installer's address (http or https).
bool IsWingetUrl(const std::string& url);

// Writes the three files into `folder` (made when missing) for the setup published at
// `url` whose SHA-256 is `sha256Hex`. False, with `error` set, when a file cannot be written.
bool WriteWingetManifest(const std::filesystem::path& folder, const std::string& url, const std::string& sha256Hex,
                         std::string& error);

}  // namespace builder
