#include "builder/winget_manifest.h"

#include <fstream>
#include <utility>
#include <vector>

#include "product/exit_codes.h"
#include "product/product_facts.h"
#include "resources/product_version.h"

namespace fs = std::filesystem;

namespace builder {

namespace {

// Quoted, so that YAML reads "1.3" as text and not as a number.
constexpr char kPackageVersion[] = "\"" KIT_VERSION_TEXT "\"";
// The installed-programs entry's key name, which is also its DisplayName.
constexpr char kProductCode[] = "Quendral" KIT_VERSION_TEXT;
constexpr char kDefaultLocale[] = "zh-CN";
// winget reads UTF-8, whatever the compiler makes of the kit's other literals.
constexpr char kLicenceAndDescription[] =
    u8"License: 专有软件\nShortDescription: Morvessa公司的学习软件Quendral " KIT_VERSION_TEXT u8"。\n";

// The installer's non-zero exit codes, each with winget's nearest response. The user's
// keeping the installed earlier version comes only from a person's answer in the wizard.
using namespace exit_codes::installer;
const std::vector<std::pair<int, const char*>> kReturnCodes = {
    {kCancelled, "cancelledByUser"},
    {kProductRunning, "packageInUse"},
    {kMonitorRunning, "packageInUseByApplication"},
    {kEarlierVersionKept, "cancelledByUser"},
    {kNoRoom, "diskFull"},
    {kFailedRolledBack, "contactSupport"},
    {kInvalidCommandLine, "invalidParameter"},
    {kSetupFileDamaged, "contactSupport"},
    {kAnotherSetupRunning, "installInProgress"},
};

std::string Header(const char* type) {
  return std::string("# yaml-language-server: $schema=https://aka.ms/winget-manifest.") + type + "." +
         kWingetManifestVersion + ".schema.json\n\nPackageIdentifier: " + kWingetPackageIdentifier +
         "\nPackageVersion: " + kPackageVersion + "\n";
}

std::string Footer(const char* type) {
  return std::string("ManifestType: ") + type + "\nManifestVersion: " + kWingetManifestVersion + "\n";
}

std::string VersionFile() { return Header("version") + "DefaultLocale: " + kDefaultLocale + "\n" + Footer("version"); }

std::string DefaultLocaleFile() {
  return Header("defaultLocale") + "PackageLocale: " + kDefaultLocale + "\nPublisher: " + product::kPublisher +
         "\nPublisherUrl: " + product::kHomePageAddress + "\nPackageName: Quendral\n" + kLicenceAndDescription +
         Footer("defaultLocale");
}

std::string InstallerFile(const std::string& url, const std::string& sha256Hex) {
  const std::string silent = product::kUnattendedSwitch;
  std::string text = Header("installer") +
                     "InstallerType: exe\nScope: machine\nInstallModes:\n- silent\n- silentWithProgress\n" +
                     "InstallerSwitches:\n  Silent: " + silent + "\n  SilentWithProgress: " + silent +
                     "\n  InstallLocation: " + product::kInstallFolderSwitch +
                     "<INSTALLPATH>\n  Log: " + product::kLogSwitch + "<LOGPATH>\nExpectedReturnCodes:\n";
  for (const auto& [code, response] : kReturnCodes) {
    text += "- InstallerReturnCode: " + std::to_string(code) + "\n  ReturnResponse: " + response + "\n";
  }
  std::string upper = sha256Hex;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  text += std::string("ElevationRequirement: elevatesSelf\nProductCode: ") + kProductCode +
          "\nAppsAndFeaturesEntries:\n- DisplayName: " + kProductCode + "\n  Publisher: " + product::kPublisher +
          "\n  DisplayVersion: " + kPackageVersion + "\n  ProductCode: " + kProductCode +
          "\nInstallers:\n- Architecture: x64\n  InstallerUrl: " + url + "\n  InstallerSha256: " + upper + "\n";
  return text + Footer("installer");
}

}  // namespace

bool IsWingetUrl(const std::string& url) {
  auto startsWith = [&url](const char* scheme) {
    const std::string prefix = scheme;
    if (url.size() <= prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(url[i])) != prefix[i]) return false;
    }
    return true;
  };
  return (startsWith("http://") || startsWith("https://")) && url.size() <= 2048 &&
         url.find_first_of(" \t\r\n\"'") == std::string::npos;
}

bool WriteWingetManifest(const fs::path& folder, const std::string& url, const std::string& sha256Hex,
                         std::string& error) {
  std::error_code made;
  fs::create_directories(folder, made);
  const std::string base = kWingetPackageIdentifier;
  const std::vector<std::pair<std::string, std::string>> files = {
      {base + ".yaml", VersionFile()},
      {base + ".locale." + kDefaultLocale + ".yaml", DefaultLocaleFile()},
      {base + ".installer.yaml", InstallerFile(url, sha256Hex)},
  };
  for (const auto& [name, text] : files) {
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) {
      error = (folder / name).string() + " could not be written";
      return false;
    }
  }
  return true;
}

}  // namespace builder
