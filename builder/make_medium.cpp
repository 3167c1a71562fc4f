// The medium builder, run on the maker's Linux machine where the kit is built:
//   make_medium build PRODUCT OUT INSTALL_EXE UNINSTALL_EXE [--licence FILE] [--adnote TEXT]
//                     [--order FILE] [--iso FILE] [--setup FILE --setup-program SETUP_EXE
//                     [--winget FOLDER --url URL]]
//   make_medium check MEDIUM
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
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "builder/gbk_text.h"
#include "builder/medium_rules.h"
#include "builder/setup_file.h"
#include "builder/signing.h"
#include "builder/winget_manifest.h"
#include "common/crash_points/crash_build.h"
#include "common/medium/adnote.h"
#include "product/product_facts.h"
#include "resources/product_version.h"

namespace fs = std::filesystem;

namespace builder {

namespace {

constexpr unsigned long long kCdBytes = 737280000ULL;  // a 700 MB CD: 360 000 sectors of 2048 bytes
constexpr char kVolumeLabel[] = "QUENDRAL13";
constexpr char kAutorun[] = "[autorun]\r\nopen=install.exe\r\n";
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

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
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

void ShowProgress(std::size_t done, std::size_t total, unsigned long long bytes, unsigned long long allBytes) {
  std::printf("\rcopying: %zu of %zu files, %llu of %llu MB", done, total, bytes >> 20, allBytes >> 20);
  std::fflush(stdout);
}

// The single-file setup of the medium just written, and its winget manifest.
int WriteSetup(const fs::path& medium, const std::map<std::string, std::string>& options) {
  const fs::path setup = options.at("setup");
  const fs::path staging = setup.string() + ".partial";
  std::string error;
  if (!WriteSetupFile(medium, options.at("setup-program"), staging, error)) {
    std::cerr << setup.string() << ": error: " << error << "\n";
    fs::remove(staging);
    return 1;
  }
  // Signed last: the signature covers the payload, whose programs are already signed.
  if (SigningRequested(options)) {
    const std::optional<Signature> signature = SignProgram(staging, options, error);
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
  if (options.count("winget") == 0) return 0;
  if (!WriteWingetManifest(options.at("winget"), options.at("url"), sha256, error)) {
    std::cerr << options.at("winget") << ": error: " << error << "\n";
    return 1;
  }
  std::printf("winget manifest %s: %s %s, ManifestVersion %s\n", options.at("winget").c_str(), kWingetPackageIdentifier,
              KIT_VERSION_TEXT, kWingetManifestVersion);
  return 0;
}

int Build(const std::map<std::string, std::string>& options) {
  const fs::path product = options.at("product");
  const fs::path out = options.at("out");
  const std::map<std::string, fs::path> programs = {{"install.exe", options.at("install.exe")},
                                                    {"uninstall.exe", options.at("uninstall.exe")}};
  std::vector<Problem> problems;
  auto fail = [&problems](const std::string& file, const std::string& message) {
    problems.push_back({file, 0, message});
  };

  if (fs::exists(out) && !(fs::is_directory(out) && fs::is_empty(out))) {
    fail(out.string(), "exists and is not an empty folder; the builder writes only into a new or empty one");
  }
  if (!fs::is_directory(product)) fail(product.string(), "is not a folder");
  for (const auto& [name, path] : programs) {
    if (!fs::is_regular_file(path)) {
      fail(path.string(), "is missing: build the kit first");
    } else if (IsCrashBuild(path)) {
      fail(path.string(), kCrashBuild);
    }
  }
  if (options.count("setup") != 0) {
    if (options.count("setup-program") == 0 || !fs::is_regular_file(options.at("setup-program"))) {
      fail(options.count("setup-program") ? options.at("setup-program") : "SETUP",
           "the setup program is missing: build the kit first");
    }
    if (fs::exists(options.at("setup")) && !fs::is_regular_file(options.at("setup"))) {
      fail(options.at("setup"), "exists and is not a file");
    }
    const fs::path setupFolder = fs::weakly_canonical(fs::absolute(options.at("setup"))).parent_path();
    const fs::path medium = fs::weakly_canonical(fs::absolute(out));
    if (std::mismatch(medium.begin(), medium.end(), setupFolder.begin(), setupFolder.end()).first == medium.end()) {
      fail(options.at("setup"), "lies inside OUT: the setup would carry itself");
    }
  }
  if (options.count("winget") != 0) {
    if (options.count("setup") == 0) fail("WINGET", "needs SETUP: the manifest describes the setup file");
    if (options.count("url") == 0 || !IsWingetUrl(options.at("url"))) {
      fail("URL", "needs the setup's download address, beginning with http:// or https://");
    }
  }
  if (!problems.empty()) {
    for (const Problem& problem : problems) std::cerr << Describe(problem) << "\n";
    return 1;
  }

  // The product's files, by name, and the settings file, which is listed but never copied.
  std::map<std::string, ProductFile> files;
  for (const auto& entry : fs::recursive_directory_iterator(product)) {
    if (!entry.is_regular_file()) continue;
    const std::string relative = fs::relative(entry.path(), product).generic_string();
    if (relative == product::kSettingsFile) continue;
    std::string windowsName = relative;
    std::replace(windowsName.begin(), windowsName.end(), '/', '\\');
    const std::optional<std::string> gbk = GbkFromUtf8(windowsName);
    if (!gbk) {
      fail(relative, "the name cannot be written in GBK (code page 936)");
      continue;
    }
    files[relative] = {relative, *gbk, entry.file_size()};
  }

  std::vector<std::string> order;
  if (options.count("order")) {
    const std::optional<std::string> text = ReadFile(options.at("order"));
    if (!text) fail(options.at("order"), "cannot be read");
    std::istringstream lines(text.value_or(""));
    int lineNumber = 0;
    for (std::string line; std::getline(lines, line);) {
      ++lineNumber;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line == product::kSettingsFile) continue;
      if (files.count(line) == 0) {
        problems.push_back({options.at("order"), lineNumber, line + " is no file of the product"});
      } else if (std::find(order.begin(), order.end(), line) == order.end()) {
        order.push_back(line);
      }
    }
    for (const auto& [name, file] : files) {
      if (std::find(order.begin(), order.end(), name) == order.end()) fail(name, "is missing from ORDER");
    }
  } else {
    for (const auto& [name, file] : files) order.push_back(name);  // sorted by the map
  }

  // The manifest: the settings file first, then the product's files, CR LF between the
  // lines and none after the last, so that the progress bar ends full.
  std::vector<std::string> lines = {product::kSettingsFile};
  for (const std::string& name : order) lines.push_back(files[name].gbk);
  const std::vector<Problem> manifestProblems =
      ManifestProblems(lines, [](const std::string&) { return true; });  // every one is copied from PRODUCT
  for (Problem problem : manifestProblems) {
    // Named by the product file, not by a line of a manifest that does not exist yet.
    if (problem.line >= 2 && problem.line <= static_cast<int>(lines.size())) {
      problem.file = order[static_cast<std::size_t>(problem.line) - 2];
      problem.line = 0;
    }
    problems.push_back(problem);
  }

  std::string licence;
  if (options.count("licence")) {
    const std::optional<std::string> text = ReadFile(options.at("licence"));
    if (!text) fail(options.at("licence"), "cannot be read");
    std::vector<Problem> licenceProblems;
    licence = LicenceText(text.value_or(""), licenceProblems).value_or("");
    for (Problem& problem : licenceProblems) problem.file = options.at("licence");
    problems.insert(problems.end(), licenceProblems.begin(), licenceProblems.end());
  }
  std::string installIni;
  if (options.count("adnote")) {
    const std::optional<std::string> value = GbkFromUtf8(options.at("adnote"));
    if (!value) fail("ADNOTE", "cannot be written in GBK");
    for (const std::string& error : AdnoteErrors(value.value_or(""))) fail("ADNOTE", error);
    installIni = "adnote=" + value.value_or("") + "\r\n";
  }

  if (!problems.empty()) {
    for (const Problem& problem : problems) std::cerr << Describe(problem) << "\n";
    std::cerr << problems.size() << " problem(s); nothing was written\n";
    return 1;
  }

  // Everything is checked: the medium is written beside OUT and renamed into place.
  const fs::path staging = out.string() + ".partial";
  fs::remove_all(staging);
  fs::create_directories(staging / "data");
  std::string manifest;
  for (std::size_t i = 0; i < lines.size(); ++i) manifest += (i > 0 ? "\r\n" : "") + lines[i];
  bool written =
      WriteFile(staging / product::kManifestFile, manifest) && WriteFile(staging / product::kLicenseFile, licence) &&
      WriteFile(staging / product::kSetupSettingsFile, installIni) && WriteFile(staging / "autorun.inf", kAutorun);
  for (const auto& [name, path] : programs) written = written && fs::copy_file(path, staging / name);
  const bool terminal = isatty(STDOUT_FILENO) != 0;
  unsigned long long allBytes = 0;
  for (const auto& [name, file] : files) allBytes += file.bytes;
  unsigned long long bytes = 0;
  std::size_t done = 0;
  for (const std::string& name : order) {
    const fs::path target = staging / "data" / fs::path(name);
    fs::create_directories(target.parent_path());
    written = written && fs::copy_file(product / fs::path(name), target);
    bytes += files[name].bytes;
    if (terminal && (++done % 50 == 0 || done == order.size())) ShowProgress(done, order.size(), bytes, allBytes);
  }
  if (terminal && !order.empty()) std::printf("\n");
  if (!written) {
    std::cerr << staging.string() << ": error: the medium could not be written\n";
    return 1;
  }
  // Signed and verified in the staging folder: a failure leaves no medium behind.
  if (SigningRequested(options)) {
    for (const auto& [name, path] : programs) {
      std::string error;
      const std::optional<Signature> signature = SignProgram(staging / name, options, error);
      if (!signature) {
        std::cerr << name << ": error: " << error << "\n";
        fs::remove_all(staging);
        return 1;
      }
      std::printf("%s: signed by %s\n", name.c_str(), signature->subject.c_str());
    }
  }
  if (fs::exists(out)) fs::remove(out);
  fs::rename(staging, out);

  unsigned long long mediumBytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    if (entry.is_regular_file()) mediumBytes += entry.file_size();
  }
  std::printf("medium %s: %zu product files, %llu bytes of them; %llu bytes in all, %s a 700 MB CD\n",
              out.string().c_str(), order.size(), allBytes, mediumBytes,
              mediumBytes <= kCdBytes ? "fits on" : "too large for");

  if (options.count("iso")) {
    // ISO 9660 with Joliet names, which Windows shows right on every code page.
    const std::string iso = options.at("iso");
    fs::remove(iso);
    const std::string make = "xorriso -report_about WARNING -local_charset UTF-8 -outdev '" + iso + "' -volid " +
                             kVolumeLabel + " -joliet on -map '" + out.string() + "' / -commit";
    const std::string compare = "xorriso -report_about WARNING -local_charset UTF-8 -indev '" + iso + "' -compare_r '" +
                                out.string() + "' / 2>&1";
    if (std::system((make + " >/dev/null 2>&1").c_str()) != 0) {
      std::cerr << iso << ": error: xorriso could not write the image\n";
      return 1;
    }
    // Read back and compared, file by file and byte by byte, with the medium.
    FILE* differences = popen(compare.c_str(), "r");
    std::string report;
    char buffer[512];
    while (differences != nullptr && std::fgets(buffer, sizeof buffer, differences) != nullptr) report += buffer;
    const int status = differences != nullptr ? pclose(differences) : -1;
    if (status != 0 || report.find("Differences") != std::string::npos ||
        report.find("MISMATCH") != std::string::npos) {
      std::cerr << iso << ": error: the image differs from the medium:\n" << report;
      return 1;
    }
    std::printf("disc image %s: volume %s, Joliet names, read back and equal to the medium\n", iso.c_str(),
                kVolumeLabel);
  }
  return options.count("setup") != 0 ? WriteSetup(out, options) : 0;
}

int Check(const fs::path& medium) {
  std::vector<Problem> problems;
  auto fail = [&problems](const std::string& file, const std::string& message) {
    problems.push_back({file, 0, message});
  };
  for (const char* required :
       {"install.exe", "uninstall.exe", product::kManifestFile, product::kLicenseFile, product::kSetupSettingsFile}) {
    if (!fs::is_regular_file(medium / required)) fail(required, "is missing");
  }
  if (const std::optional<std::string> manifest = ReadFile(medium / product::kManifestFile)) {
    const std::vector<std::string> lines = SplitCrLf(*manifest);
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
  for (const char* program : {"install.exe", "uninstall.exe"}) {
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

int Usage() {
  std::cerr << "usage: make_medium build PRODUCT OUT INSTALL_EXE UNINSTALL_EXE [--licence FILE] [--adnote TEXT]\n"
               "                         [--order FILE] [--iso FILE] [--sign-cert PEM --sign-key PEM]\n"
               "                         [--sign-pkcs12 FILE [--sign-password-file FILE]] [--timestamp URL]\n"
               "                         [--setup FILE --setup-program SETUP_EXE [--winget FOLDER --url URL]]\n"
               "       make_medium check MEDIUM\n";
  return 2;
}

}  // namespace

}  // namespace builder

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "check") return builder::Check(args[1]);
  if (args.size() < 5 || args[0] != "build" || (args.size() - 5) % 2 != 0) return builder::Usage();
  std::map<std::string, std::string> options = {
      {"product", args[1]}, {"out", args[2]}, {"install.exe", args[3]}, {"uninstall.exe", args[4]}};
  for (std::size_t i = 5; i + 1 < args.size(); i += 2) {
    static const std::set<std::string> known = {"--licence",   "--adnote",   "--order",       "--iso",
                                                "--sign-cert", "--sign-key", "--sign-pkcs12", "--sign-password-file",
                                                "--timestamp", "--setup",    "--setup-program", "--winget",
                                                "--url"};
    if (known.count(args[i]) == 0) return builder::Usage();
    options[args[i].substr(2)] = args[i + 1];
  }
  return builder::Build(options);
}
