// The medium builder, run on the maker's Linux machine where the kit is built (its
// command line: Usage in build_options.cpp).
// "build" lists every file of PRODUCT in install.inf (GBK, CR LF, the settings file
// first), copies them into data\ and writes License.txt, install.ini and autorun.inf
// beside the two programs. Every problem is reported and then
// nothing is written; otherwise the medium is built beside OUT and renamed into place.
// With --setup it also writes the single-file setup holding the medium (signed last when
// the medium is signed), and with --winget a winget manifest set for it as published at URL.
// "check" checks an existing medium with the same rules. Exit status 1 on any problem.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "builder/build_options.h"
#include "builder/disc_image.h"
#include "builder/iconv_text.h"
#include "builder/medium_check.h"
#include "builder/setup_file.h"
#include "builder/signing.h"
#include "builder/winget_manifest.h"
#include "common/crash_build/crash_build.h"
#include "common/medium/adnote.h"
#include "common/medium/manifest_rules.h"
#include "product/product_facts.h"
#include "resources/product_version.h"

namespace fs = std::filesystem;

namespace builder {

namespace {

constexpr unsigned long long kCdBytes = 737280000ULL;  // a 700 MB CD: 360 000 sectors of 2048 bytes
constexpr char kCrashBuild[] = "is the crash-point test build, which is never shipped";

std::optional<std::string> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsCrashBuild(const fs::path& program) { return crash_points::IsCrashBuild(ReadFile(program).value_or("")); }

bool WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

// The licence as License.txt holds it: GBK with CR LF; every character GBK cannot
// represent is a problem with its line and column.
std::optional<std::string> LicenceText(const std::string& utf8, std::vector<Problem>& problems) {
  std::string text = utf8.rfind("\xEF\xBB\xBF", 0) == 0 ? utf8.substr(3) : utf8;
  std::string gbk;
  int lineNumber = 0;
  std::istringstream lines(text);
  bool ok = true;
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('\0') != std::string::npos) {
      problems.push_back({"LICENCE", lineNumber, "a NUL byte; the licence page would end the text there"});
      ok = false;
    }
    if (std::optional<std::string> converted = GbkFromUtf8(line)) {
      gbk += *converted + "\r\n";
      continue;
    }
    ok = false;
    // Character by character, to name each one GBK lacks.
    int column = 0;
    for (std::size_t i = 0; i < line.size();) {
      std::size_t length = 1;
      const auto lead = static_cast<unsigned char>(line[i]);
      if (lead >= 0xF0)
        length = 4;
      else if (lead >= 0xE0)
        length = 3;
      else if (lead >= 0xC0)
        length = 2;
      ++column;
      const std::string character = line.substr(i, length);
      if (!GbkFromUtf8(character)) {
        problems.push_back({"LICENCE", lineNumber,
                            "column " + std::to_string(column) + ": " + character + " cannot be written in GBK"});
      }
      i += length;
    }
  }
  if (!ok) return std::nullopt;
  // A licence without a line break at its end keeps none.
  if (!text.empty() && text.back() != '\n') gbk.resize(gbk.size() - 2);
  return gbk;
}

struct ProductFile {
  std::string utf8;  // relative path on disk, "/" between folders
  std::string gbk;   // as the manifest lists it, "\" between folders
  unsigned long long bytes = 0;
};

// What a medium holds besides its programs, checked and ready to be written.
struct MediumContents {
  std::map<std::string, ProductFile> files;  // by relative path
  std::vector<std::string> order;            // the product files in the manifest's order
  std::vector<std::string> lines;            // the manifest's lines
  std::string licence;                       // License.txt
  std::string installIni;                    // install.ini
};

void ShowProgress(std::size_t done, std::size_t total, unsigned long long bytes, unsigned long long allBytes) {
  std::printf("\rcopying: %zu of %zu files, %llu of %llu MB", done, total, bytes >> 20, allBytes >> 20);
  std::fflush(stdout);
}

// The medium's two programs, by their names on the medium.
std::map<std::string, fs::path> Programs(const BuildOptions& options) {
  return {{product::kInstallerFile, options.installer}, {product::kUninstallerFile, options.uninstaller}};
}

// The single-file setup of the medium just written, and its winget manifest.
int WriteSetup(const fs::path& medium, const BuildOptions& options) {
  const fs::path setup = *options.setup;
  const fs::path staging = setup.string() + ".partial";
  std::string error;
  if (!WriteSetupFile(medium, *options.setupProgram, staging, error)) {
    std::cerr << setup.string() << ": error: " << error << "\n";
    fs::remove(staging);
    return 1;
  }
  // Signed last: the signature covers the payload, whose programs are already signed.
  if (SigningRequested(options.signing)) {
    const std::optional<Signature> signature = SignProgram(staging, options.signing, error);
    if (!signature) {
      std::cerr << setup.string() << ": error: " << error << "\n";
      fs::remove(staging);
      return 1;
    }
    std::printf("%s: signed by %s\n", setup.string().c_str(), signature->subject.c_str());
  }
  fs::rename(staging, setup);
  const std::string sha256 = FileSha256Hex(setup);
  std::printf("setup %s: %llu bytes, SHA-256 %s\n", setup.string().c_str(),
              static_cast<unsigned long long>(fs::file_size(setup)), sha256.c_str());
  if (!options.winget) return 0;
  if (!WriteWingetManifest(*options.winget, *options.url, sha256, error)) {
    std::cerr << *options.winget << ": error: " << error << "\n";
    return 1;
  }
  std::printf("winget manifest %s: %s %s, ManifestVersion %s\n", options.winget->c_str(), kWingetPackageIdentifier,
              KIT_VERSION_TEXT, kWingetManifestVersion);
  return 0;
}

// What is wrong with the options themselves, before anything is read.
void CheckOptions(const BuildOptions& options, std::vector<Problem>& problems) {
  auto fail = [&problems](const std::string& file, const std::string& message) {
    problems.push_back({file, 0, message});
  };
  if (fs::exists(options.out) && !(fs::is_directory(options.out) && fs::is_empty(options.out))) {
    fail(options.out.string(), "exists and is not an empty folder; the builder writes only into a new or empty one");
  }
  if (!fs::is_directory(options.product)) fail(options.product.string(), "is not a folder");
  for (const auto& [name, path] : Programs(options)) {
    if (!fs::is_regular_file(path)) {
      fail(path.string(), "is missing: build the kit first");
    } else if (IsCrashBuild(path)) {
      fail(path.string(), kCrashBuild);
    }
  }
  if (options.setup) {
    if (!options.setupProgram || !fs::is_regular_file(*options.setupProgram)) {
      fail(options.setupProgram.value_or("SETUP"), "the setup program is missing: build the kit first");
    }
    if (fs::exists(*options.setup) && !fs::is_regular_file(*options.setup))
      fail(*options.setup, "exists and is not a file");
    const fs::path setupFolder = fs::weakly_canonical(fs::absolute(*options.setup)).parent_path();
    const fs::path medium = fs::weakly_canonical(fs::absolute(options.out));
    if (std::mismatch(medium.begin(), medium.end(), setupFolder.begin(), setupFolder.end()).first == medium.end()) {
      fail(*options.setup, "lies inside OUT: the setup would carry itself");
    }
  }
  if (options.winget) {
    if (!options.setup) fail("WINGET", "needs SETUP: the manifest describes the setup file");
    if (!options.url || !IsWingetUrl(*options.url)) {
      fail("URL", "needs the setup's download address, beginning with http:// or https://");
    }
  }
}

// The product's files, by name, and the settings file, which is listed but never copied.
std::map<std::string, ProductFile> ProductFiles(const fs::path& product, std::vector<Problem>& problems) {
  std::map<std::string, ProductFile> files;
  for (const auto& entry : fs::recursive_directory_iterator(product)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), product).generic_string();
    if (relative == product::kSettingsFile) continue;
    std::string windowsName = relative;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    const std::optional<std::string> gbk = GbkFromUtf8(windowsName);
    if (!gbk) {
      problems.push_back({relative, 0, "the name cannot be written in GBK (code page 936)"});
      continue;
    }
    files[relative] = {relative, *gbk, entry.file_size()};
  }
  return files;
}

// The product files in ORDER's order (one relative path a line), or sorted without it.
std::vector<std::string> FileOrder(const BuildOptions& options, const std::map<std::string, ProductFile>& files,
                                   std::vector<Problem>& problems) {
  std::vector<std::string> order;
  if (!options.order) {
    for (const auto& [name, file] : files) order.push_back(name);  // sorted by the map
    return order;
  }
  const std::optional<std::string> text = ReadFile(*options.order);
  if (!text) problems.push_back({*options.order, 0, "cannot be read"});
  std::istringstream lines(text.value_or(""));
  int lineNumber = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line == product::kSettingsFile) continue;
    if (files.count(line) == 0) {
      problems.push_back({*options.order, lineNumber, line + " is no file of the product"});
    } else if (std::find(order.begin(), order.end(), line) == order.end()) {
      order.push_back(line);
    }
  }
  for (const auto& [name, file] : files) {
    if (std::find(order.begin(), order.end(), name) == order.end())
      problems.push_back({name, 0, "is missing from ORDER"});
  }
  return order;
}

// The manifest's lines: the settings file first, then the product's files, each checked
// by the installer's rules and a problem named by its product file.
std::vector<std::string> ManifestLines(const MediumContents& contents, std::vector<Problem>& problems) {
  std::vector<std::string> lines = {product::kSettingsFile};
  for (const std::string& name : contents.order) lines.push_back(contents.files.at(name).gbk);
  for (Problem problem : ManifestProblems(lines, [](const std::string&) { return true; })) {
    // Named by the product file, not by a line of a manifest that does not exist yet.
    if (problem.line >= 2 && problem.line <= static_cast<int>(lines.size())) {
      problem.file = contents.order[static_cast<std::size_t>(problem.line) - 2];
      problem.line = 0;
    }
    problems.push_back(problem);
  }
  return lines;
}

// License.txt and install.ini from LICENCE and ADNOTE.
void ReadTexts(const BuildOptions& options, MediumContents& contents, std::vector<Problem>& problems) {
  if (options.licence) {
    const std::optional<std::string> text = ReadFile(*options.licence);
    if (!text) problems.push_back({*options.licence, 0, "cannot be read"});
    std::vector<Problem> licenceProblems;
    contents.licence = LicenceText(text.value_or(""), licenceProblems).value_or("");
    for (Problem& problem : licenceProblems) problem.file = *options.licence;
    problems.insert(problems.end(), licenceProblems.begin(), licenceProblems.end());
  }
  if (options.adnote) {
    const std::optional<std::string> value = GbkFromUtf8(*options.adnote);
    if (!value) problems.push_back({"ADNOTE", 0, "cannot be written in GBK"});
    for (const std::string& error : AdnoteErrors(value.value_or(""))) problems.push_back({"ADNOTE", 0, error});
    contents.installIni = "adnote=" + value.value_or("") + "\r\n";
  }
}

// Copies the product's files into data\, showing the progress on a terminal.
bool CopyProductFiles(const BuildOptions& options, const MediumContents& contents, const fs::path& data) {
  const bool terminal = isatty(STDOUT_FILENO) != 0;
  unsigned long long allBytes = 0;
  for (const auto& [name, file] : contents.files) allBytes += file.bytes;
  unsigned long long bytes = 0;
  std::size_t done = 0;
  bool written = true;
  for (const std::string& name : contents.order) {
    const fs::path target = data / fs::path(name);
    fs::create_directories(target.parent_path());
    written = written && fs::copy_file(options.product / fs::path(name), target);
    bytes += contents.files.at(name).bytes;
    if (terminal && (++done % 50 == 0 || done == contents.order.size())) {
      ShowProgress(done, contents.order.size(), bytes, allBytes);
    }
  }
  if (terminal && !contents.order.empty()) std::printf("\n");
  return written;
}

// Writes the checked medium beside OUT, signs its programs there and renames it into
// place, so that a failure leaves no medium behind.
bool WriteMedium(const BuildOptions& options, const MediumContents& contents) {
  const fs::path staging = options.out.string() + ".partial";
  fs::remove_all(staging);
  fs::create_directories(staging / "data");
  const std::string autorun = std::string("[autorun]\r\nopen=") + product::kInstallerFile + "\r\n";
  bool written = WriteFile(staging / product::kManifestFile, medium::ManifestText(contents.lines)) &&
                 WriteFile(staging / product::kLicenseFile, contents.licence) &&
                 WriteFile(staging / product::kSetupSettingsFile, contents.installIni) &&
                 WriteFile(staging / "autorun.inf", autorun);
  for (const auto& [name, path] : Programs(options)) written = written && fs::copy_file(path, staging / name);
  if (!(written && CopyProductFiles(options, contents, staging / "data"))) {
    std::cerr << staging.string() << ": error: the medium could not be written\n";
    return false;
  }
  for (const auto& [name, path] : Programs(options)) {
    if (!SigningRequested(options.signing)) break;
    std::string error;
    const std::optional<Signature> signature = SignProgram(staging / name, options.signing, error);
    if (!signature) {
      std::cerr << name << ": error: " << error << "\n";
      fs::remove_all(staging);
      return false;
    }
    std::printf("%s: signed by %s\n", name.c_str(), signature->subject.c_str());
  }
  if (fs::exists(options.out)) fs::remove(options.out);
  fs::rename(staging, options.out);
  return true;
}

void ShowSummary(const fs::path& out, const MediumContents& contents) {
  unsigned long long productBytes = 0;
  for (const auto& [name, file] : contents.files) productBytes += file.bytes;
  unsigned long long mediumBytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (entry.is_regular_file()) mediumBytes += entry.file_size();
  }
  std::printf("medium %s: %zu product files, %llu bytes of them; %llu bytes in all, %s a 700 MB CD\n",
              out.string().c_str(), contents.order.size(), productBytes, mediumBytes,
              mediumBytes <= kCdBytes ? "fits on" : "too large for");
}

int ReportProblems(const std::vector<Problem>& problems, const char* ending) {
  for (const Problem& problem : problems) std::cerr << Describe(problem) << "\n";
  if (ending != nullptr) std::cerr << problems.size() << ending;
  return 1;
}

int Build(const BuildOptions& options) {
  std::vector<Problem> problems;
  CheckOptions(options, problems);
  if (!problems.empty()) return ReportProblems(problems, nullptr);
  MediumContents contents;
  contents.files = ProductFiles(options.product, problems);
  contents.order = FileOrder(options, contents.files, problems);
  contents.lines = ManifestLines(contents, problems);
  ReadTexts(options, contents, problems);
  if (!problems.empty()) return ReportProblems(problems, " problem(s); nothing was written\n");

  // Everything is checked: the medium is written.
  if (!WriteMedium(options, contents)) return 1;
  ShowSummary(options.out, contents);
  if (options.iso && !WriteDiscImage(options.out, *options.iso)) return 1;
  return options.setup ? WriteSetup(options.out, options) : 0;
}

int Check(const fs::path& medium) {
  std::vector<Problem> problems;
  auto fail = [&problems](const std::string& file, const std::string& message) {
    problems.push_back({file, 0, message});
  };
  for (const char* required : {product::kInstallerFile, product::kUninstallerFile, product::kManifestFile,
                               product::kLicenseFile, product::kSetupSettingsFile}) {
    if (!fs::is_regular_file(medium / required)) fail(required, "is missing");
  }
  if (const std::optional<std::string> manifest = ReadFile(medium / product::kManifestFile)) {
    const std::vector<std::string> lines = medium::WrittenManifestLines(*manifest);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!Utf8FromGbk(lines[i])) problems.push_back({product::kManifestFile, static_cast<int>(i) + 1, "is not GBK"});
    }
    const std::vector<Problem> found = ManifestProblems(lines, [&medium](const std::string& name) {
      // Converted first: a GBK trail byte may be 0x5C, which in UTF-8 is only ever "\".
      std::optional<std::string> path = Utf8FromGbk(name);
      if (!path) return false;
      std::replace(path->begin(), path->end(), '\\', '/');
      return fs::is_regular_file(medium / "data" / fs::path(*path));
    });
    problems.insert(problems.end(), found.begin(), found.end());
  }
  if (const std::optional<std::string> licence = ReadFile(medium / product::kLicenseFile)) {
    if (licence->find('\0') != std::string::npos) fail(product::kLicenseFile, "holds a NUL byte; the page ends there");
    if (!Utf8FromGbk(*licence)) fail(product::kLicenseFile, "is not GBK text");
  }
  if (const std::optional<std::string> ini = ReadFile(medium / product::kSetupSettingsFile)) {
    const std::size_t key = ini->find("adnote=");
    if (key != std::string::npos) {
      const std::string value = ini->substr(key + 7, ini->find_first_of("\r\n", key) - key - 7);
      if (medium::ExtractAdnote(*ini) != value) {
        fail(product::kSetupSettingsFile,
             "the adnote value does not end within the first " + std::to_string(medium::kAdnoteWindowBytes) + " bytes");
      }
    }
  }
  for (const char* program : {product::kInstallerFile, product::kUninstallerFile}) {
    if (!fs::is_regular_file(medium / program)) continue;
    if (IsCrashBuild(medium / program)) fail(program, kCrashBuild);
    const Signature signature = ReadSignature(medium / program);
    if (signature.present && !signature.intact) {
      fail(program, "changed after it was signed: its signature no longer matches it");
    } else {
      std::printf("%s: %s\n", program,
                  signature.present ? ("signed by " + signature.subject + " and valid").c_str() : "unsigned");
    }
  }
  for (const Problem& problem : problems) std::cerr << Describe(problem) << "\n";
  if (!problems.empty()) {
    std::cerr << problems.size() << " problem(s) in " << medium.string() << "\n";
    return 1;
  }
  std::printf("medium %s: no problems\n", medium.string().c_str());
  return 0;
}

}  // namespace

}  // namespace builder

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "check") return builder::Check(args[1]);
  if (args.empty() || args[0] != "build") return builder::Usage();
  const std::optional<builder::BuildOptions> options =
      builder::ParseBuildOptions(std::vector<std::string>(args.begin() + 1, args.end()));
  return options ? builder::Build(*options) : builder::Usage();
}
