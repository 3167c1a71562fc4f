// The medium builder: its rules on single names and manifests, and the tool itself on
// small products and media made here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include <zlib.h>

#include "builder/build_options.h"
#include "builder/medium_check.h"
#include "builder/setup_file.h"
#include "common/medium/payload_format.h"
#include "tests/hold/hold_point.h"
#include "tests/unit/minimal_program.h"

namespace {

namespace fs = std::filesystem;

std::string Joined(const std::vector<std::string>& errors) {
  std::string all;
  for (const std::string& error : errors) all += error + "\n";
  return all;
}

// The builder's command line after "build": the four places, then options with a value each;
// the signing ones go to signing as it reads them, and anything else is no build at all.
TEST(BuildOptions, ReadIntoOneRecord) {
  const auto options = builder::ParseBuildOptions({"product", "out", "install.exe", "uninstall.exe", "--adnote", "欢迎",
                                                   "--sign-cert", "c.pem", "--setup", "s.exe", "--timestamp", "t"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->product, "product");
  EXPECT_EQ(options->uninstaller, "uninstall.exe");
  EXPECT_EQ(options->adnote, "欢迎");
  EXPECT_EQ(options->setup, "s.exe");
  EXPECT_FALSE(options->licence || options->iso || options->winget);
  EXPECT_EQ(options->signing, (std::map<std::string, std::string>{{"sign-cert", "c.pem"}, {"timestamp", "t"}}));
  EXPECT_FALSE(builder::ParseBuildOptions({"product", "out", "install.exe"})) << "a place missing";
  EXPECT_FALSE(builder::ParseBuildOptions({"product", "out", "i.exe", "u.exe", "--licence"})) << "a value missing";
  EXPECT_FALSE(builder::ParseBuildOptions({"product", "out", "i.exe", "u.exe", "--licenses", "x"})) << "unknown";
}

TEST(MediumRules, BadNamesAndTheErrorEachGives) {
  const std::pair<std::string, const char*> bad[] = {
      {std::string(256, 'a'), "256 bytes long"},
      {"a<b.txt", "the character <"},
      {"a|b.txt", "the character |"},
      {"a\x01.txt", "control character"},
      {"name. ", "ends with a blank or a dot"},
      {"NUL.txt", "reserved device name"},
      {"word\\com1", "reserved device name"},
      {"word\\\\a.txt", "empty folder name"},
      {"docs\\a.txt", "folder docs, which the installer does not create; allowed: the install folder itself, word,"},
      {"word\\x\\a.txt", "folder word\\x,"},
      {"word\\a.ini.bak", "\".ini\" after its first character"},
      {"*****", "ends the list"},
  };
  for (const auto& [name, error] : bad) {
    EXPECT_NE(Joined(builder::NameErrors(name)).find(error), std::string::npos) << name;
  }
  // 誠 ends in the byte 0x5C, which is no separator; folders match without regard to case.
  for (const std::string& good : {std::string("誠.txt"), std::string("WORD\\词汇表.txt"), std::string("bok\\6\\a.bin"),
                                  std::string("brisel.ini"), std::string(".ini"), std::string(255, 'a')}) {
    EXPECT_EQ(Joined(builder::NameErrors(good)), "") << good;
  }
}

TEST(MediumRules, ManifestLinesAsTheInstallerReadsThem) {
  const auto problems = builder::ManifestProblems({"brisel.ini", "a.txt", "A.TXT", "c.txt", "", "b.txt"},
                                                  [](const std::string& name) { return name != "c.txt"; });
  std::string seen;
  for (const builder::Problem& problem : problems) seen += builder::Describe(problem) + "\n";
  EXPECT_EQ(seen,
            "install.inf:3: error: A.TXT differs only in case from line 2\n"
            "install.inf:4: error: data\\c.txt is missing\n"
            "install.inf:5: error: an empty line or \"*****\" ends the list here; the 1 lines after it are never "
            "installed\n");
  const std::vector<std::string> thousandAndOne(1001, "");
  std::vector<std::string> lines;
  for (int i = 0; i < 1001; ++i) lines.push_back("f" + std::to_string(i));
  const auto tooMany = builder::ManifestProblems(lines, [](const std::string&) { return true; });
  ASSERT_EQ(tooMany.size(), 1u);
  EXPECT_EQ(tooMany[0].line, 1001);
}

TEST(MediumRules, AdnoteMustEndWithinTheInstallersWindow) {
  EXPECT_EQ(Joined(builder::AdnoteErrors(std::string(57, 'x'))), "") << "adnote= and 57 bytes fill 64";
  EXPECT_NE(Joined(builder::AdnoteErrors(std::string(58, 'x'))), "");
  EXPECT_NE(Joined(builder::AdnoteErrors("two\r\nlines")).find("line break"), std::string::npos);
}

// The tool as `make medium` and `make check-medium` run it, in a folder of this test's own.
class MediumBuilderTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("medium-builder-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    Write("install.exe", "MZ installer");
    Write("uninstall.exe", "MZ uninstaller");
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const fs::path& relative, const std::string& bytes) {
    fs::create_directories((dir_ / relative).parent_path());
    std::ofstream(dir_ / relative, std::ios::binary) << bytes;
  }
  std::string Read(const fs::path& relative) {
    std::ifstream in(dir_ / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The exit status; what the tool wrote to standard error is in errors_.
  int Run(const std::string& arguments) {
    const int status = std::system(
        (std::string(MAKE_MEDIUM) + " " + arguments + " >/dev/null 2>'" + (dir_ / "errors.txt").string() + "'")
            .c_str());
    errors_ = Read("errors.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Build(const std::string& out, const std::string& options) {
    return "build '" + (dir_ / "product").string() + "' '" + (dir_ / out).string() + "' '" +
           (dir_ / "install.exe").string() + "' '" + (dir_ / "uninstall.exe").string() + "' " + options;
  }
  fs::path dir_;
  std::string errors_;
};

TEST_F(MediumBuilderTool, BuildsOnlyWhenEveryRuleHoldsAndReportsEveryProblem) {
  Write(u8"product/誠.txt", "sincere");
  Write(u8"product/word/词汇表.txt", "words");
  Write("product/brisel.ini", "[main]\r\n");
  Write("licence.txt", u8"\xEF\xBB\xBF许可协议\n第二行\n");
  ASSERT_EQ(Run(Build("medium", "--licence '" + (dir_ / "licence.txt").string() + "' --adnote " + u8"欢迎")), 0)
      << errors_;
  // GBK names, the settings file first, no CR LF after the last line; the settings file is not copied.
  EXPECT_EQ(Read("medium/install.inf"), "brisel.ini\r\nword\\词汇表.txt\r\n誠.txt");
  EXPECT_EQ(Read(u8"medium/data/誠.txt"), "sincere");
  EXPECT_EQ(Read(u8"medium/data/word/词汇表.txt"), "words");
  EXPECT_FALSE(fs::exists(dir_ / "medium/data/brisel.ini"));
  EXPECT_EQ(Read("medium/License.txt"), "许可协议\r\n第二行\r\n");
  EXPECT_EQ(Read("medium/install.ini"), "adnote=欢迎\r\n");
  EXPECT_EQ(Read("medium/install.exe"), "MZ installer");
  EXPECT_EQ(Run("check '" + (dir_ / "medium").string() + "'"), 0) << errors_;
  EXPECT_NE(Run(Build("medium", "")), 0) << "never into a folder that holds anything";

  // Three faults at once: all three are reported, and nothing is written.
  Write("product/docs/read me.txt", "x");
  Write("bad licence.txt", u8"line one\nsmile \U0001F600 here\n");
  EXPECT_EQ(
      Run(Build("second", "--licence '" + (dir_ / "bad licence.txt").string() + "' --adnote " + std::string(60, 'a'))),
      1);
  EXPECT_NE(errors_.find("docs/read me.txt: error: docs\\read me.txt is in the folder docs"), std::string::npos)
      << errors_;
  EXPECT_NE(errors_.find("bad licence.txt:2: error: column 7:"), std::string::npos) << errors_;
  EXPECT_NE(errors_.find("ADNOTE: error: the adnote value does not end within the first 64 bytes"), std::string::npos)
      << errors_;
  EXPECT_FALSE(fs::exists(dir_ / "second"));
}

// The single-file setup carries every file of the medium, compressed where that pays, under
// the hash its header gives; the winget manifest names the setup's own hash.
TEST_F(MediumBuilderTool, SetupCarriesTheWholeMediumAndTheManifestItsHash) {
  const std::string words(20000, 'w');
  std::string noise;
  for (unsigned value = 1; noise.size() < 20000; value = value * 1103515245u + 12345u) {
    noise.push_back(static_cast<char>(value >> 16));
  }
  Write(u8"product/word/词汇表.txt", words);
  Write("product/noise.bin", noise);
  Write("stub.exe", test_support::MinimalProgram());
  const std::string stub = " --setup-program '" + (dir_ / "stub.exe").string() + "'";
  const std::string setup = (dir_ / "QuendralSetup.exe").string();
  EXPECT_EQ(Run(Build("inside", "--setup '" + (dir_ / "inside/setup.exe").string() + "'" + stub)), 1);
  EXPECT_NE(errors_.find("lies inside OUT"), std::string::npos) << errors_;
  EXPECT_EQ(Run(Build("no-url", "--setup '" + setup + "'" + stub + " --winget '" + (dir_ / "w").string() + "'")), 1);
  EXPECT_NE(errors_.find("URL: error"), std::string::npos) << errors_;
  ASSERT_EQ(Run(Build("medium", "--setup '" + setup + "'" + stub + " --winget '" + (dir_ / "winget").string() +
                                    "' --url https://example.com/QuendralSetup.exe")),
            0)
      << errors_;

  const std::string file = Read("QuendralSetup.exe");
  medium::PayloadHeader header;
  const std::optional<std::string_view> payload = medium::LocatePayload(file, header);
  ASSERT_TRUE(payload);
  EXPECT_EQ(file.substr(0, 0x400), test_support::MinimalProgram());
  Write("payload.bin", std::string(*payload));
  const auto hex = [](const medium::Sha256& digest) {
    std::string text;
    for (unsigned char byte : digest) {
      text += "0123456789abcdef"[byte >> 4];
      text += "0123456789abcdef"[byte & 15];
    }
    return text;
  };
  EXPECT_EQ(builder::FileSha256Hex(dir_ / "payload.bin"), hex(header.sha256));
  const std::map<std::string, std::pair<std::string, medium::PayloadMethod>> expected = {
      {"install.exe", {"MZ installer", medium::PayloadMethod::kStored}},
      {"data\\noise.bin", {noise, medium::PayloadMethod::kStored}},
      {"data\\word\\词汇表.txt", {words, medium::PayloadMethod::kZlib}}};
  std::vector<std::string> names;
  medium::PayloadEntries entries(*payload);
  while (const auto entry = entries.Next()) {
    names.emplace_back(entry->name);
    std::string bytes(entry->fileBytes, '\0');
    uLongf length = bytes.size();
    const std::string_view stored = payload->substr(entry->storedOffset, entry->storedBytes);
    if (entry->method == medium::PayloadMethod::kZlib) {
      ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(bytes.data()), &length,
                           reinterpret_cast<const Bytef*>(stored.data()), stored.size()),
                Z_OK);
    } else {
      bytes = std::string(stored);
    }
    Write("entry.bin", bytes);
    EXPECT_EQ(hex(entry->sha256), builder::FileSha256Hex(dir_ / "entry.bin")) << entry->name;
    if (const auto found = expected.find(std::string(entry->name)); found != expected.end()) {
      EXPECT_EQ(bytes, found->second.first) << entry->name;
      EXPECT_EQ(entry->method, found->second.second) << entry->name;
    }
  }
  EXPECT_FALSE(entries.Damaged());
  EXPECT_EQ(names, (std::vector<std::string>{"License.txt", "autorun.inf", "install.exe", "install.inf", "install.ini",
                                             "uninstall.exe", "data\\noise.bin", "data\\word\\词汇表.txt"}))
      << "the top folder's files, then the product's in the manifest's order";
  std::string setupHash = builder::FileSha256Hex(setup);
  for (char& digit : setupHash) digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
  EXPECT_NE(Read("winget/Morvessa.Quendral.installer.yaml").find("InstallerSha256: " + setupHash), std::string::npos);
}

TEST_F(MediumBuilderTool, CheckReportsEveryFaultOfAHandMadeMedium) {
  Write("hand/install.exe", "MZ");
  Write("hand/uninstall.exe", "MZ");
  Write("hand/install.inf", "brisel.ini\r\nlumora.exe\r\n\r\nvigilo.exe\r\n");
  Write("hand/License.txt", std::string("licence\0more", 12));
  Write("hand/install.ini", "adnote=x\r\n");
  EXPECT_EQ(Run("check '" + (dir_ / "hand").string() + "'"), 1);
  EXPECT_NE(errors_.find("install.inf:2: error: data\\lumora.exe is missing"), std::string::npos) << errors_;
  EXPECT_NE(errors_.find("install.inf:3: error: an empty line or \"*****\" ends the list here"), std::string::npos)
      << errors_;
  EXPECT_NE(errors_.find("License.txt: error: holds a NUL byte"), std::string::npos) << errors_;

  // Mended by hand, with the CR LF after the last line that editors add: a good medium.
  Write("hand/install.inf", "brisel.ini\r\nlumora.exe\r\n");
  Write("hand/data/lumora.exe", "MZ");
  Write("hand/License.txt", "licence\r\n");
  EXPECT_EQ(Run("check '" + (dir_ / "hand").string() + "'"), 0) << errors_;
}

TEST_F(MediumBuilderTool, SigningRefusesAMismatchedKeyAndCheckFindsATamperedProgram) {
  const char* build = std::getenv("BUILD_DIR");
  const fs::path program = build != nullptr ? fs::path(build) / "win/uninstall/uninstall.exe" : fs::path();
  if (program.empty() || !fs::exists(program)) GTEST_SKIP() << "needs the built uninstall.exe";
  for (const char* name : {"install.exe", "uninstall.exe"}) {
    fs::copy_file(program, dir_ / name, fs::copy_options::overwrite_existing);
  }
  Write("product/a.txt", "a");
  for (const char* name : {"one", "two"}) {
    ASSERT_EQ(
        std::system(("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=" + std::string(name) + " -keyout '" +
                     (dir_ / name).string() + ".key' -out '" + (dir_ / name).string() + ".pem' >/dev/null 2>&1")
                        .c_str()),
        0);
  }
  auto signedBy = [this](const char* cert, const char* key) {
    return "--sign-cert '" + (dir_ / cert).string() + "' --sign-key '" + (dir_ / key).string() + "'";
  };
  // Only the test builds can be held by a test; the shipped programs have no hold point.
  for (const auto& [built, held] : {std::pair{"install/install.exe", false},
                                    {"uninstall/uninstall.exe", false},
                                    {"install/install_crash.exe", true},
                                    {"uninstall/uninstall_utf8.exe", true}}) {
    std::ifstream in(fs::path(build) / "win" / built, std::ios::binary);
    EXPECT_EQ(hold_point::HasHoldPoint(std::string(std::istreambuf_iterator<char>(in), {})), held) << built;
  }
  // The crash-point test build is refused, by the builder and by the check.
  const fs::path crashBuild = fs::path(build) / "win/install/install_crash.exe";
  ASSERT_TRUE(fs::exists(crashBuild));
  fs::copy_file(crashBuild, dir_ / "install.exe", fs::copy_options::overwrite_existing);
  EXPECT_EQ(Run(Build("crash", "")), 1);
  EXPECT_NE(errors_.find("install.exe: error: is the crash-point test build, which is never shipped"),
            std::string::npos)
      << errors_;
  EXPECT_FALSE(fs::exists(dir_ / "crash"));
  fs::copy_file(program, dir_ / "install.exe", fs::copy_options::overwrite_existing);
  ASSERT_EQ(Run(Build("shipped", "")), 0) << errors_;
  fs::copy_file(crashBuild, dir_ / "shipped/install.exe", fs::copy_options::overwrite_existing);
  EXPECT_EQ(Run("check '" + (dir_ / "shipped").string() + "'"), 1);
  EXPECT_NE(errors_.find("install.exe: error: is the crash-point test build"), std::string::npos) << errors_;

  EXPECT_EQ(Run(Build("mismatched", signedBy("one.pem", "two.key"))), 1);
  EXPECT_NE(errors_.find("the private key does not match the certificate"), std::string::npos) << errors_;
  EXPECT_FALSE(fs::exists(dir_ / "mismatched") || fs::exists(dir_ / "mismatched.partial"));

  ASSERT_EQ(Run(Build("signed", signedBy("one.pem", "one.key"))), 0) << errors_;
  EXPECT_EQ(Run("check '" + (dir_ / "signed").string() + "'"), 0) << errors_;
  std::string bytes = Read("signed/uninstall.exe");
  bytes[bytes.size() / 2] ^= 0x01;
  Write("signed/uninstall.exe", bytes);
  EXPECT_EQ(Run("check '" + (dir_ / "signed").string() + "'"), 1);
  EXPECT_NE(errors_.find("uninstall.exe: error: changed after it was signed"), std::string::npos) << errors_;
}

}  // namespace
