// The small text rules: manifest lines, the adnote value, the uninstaller's command line
// and the free-space root of an install folder.
#include <gtest/gtest.h>

#include "common/command_line/install_options.h"
#include "common/medium/adnote.h"
#include "common/medium/manifest_rules.h"
#include "common/gbk/free_space_root.h"
#include "common/command_line/command_line.h"
#include "product/product_facts.h"

namespace {

TEST(ManifestRules, LinesAsTheEditControlSplitsThem) {
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(medium::ManifestLines(""), Lines{""});
  EXPECT_EQ(medium::ManifestLines("a\r\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(medium::ManifestLines("a\r\nb\r\n"), (Lines{"a", "b", ""})) << "the empty line after the last CR LF";
  EXPECT_EQ(medium::ManifestLines("a\r\r\nb\nc\rd"), (Lines{"a", "b\nc\rd"})) << "CR CR LF breaks, lone CR, LF do not";
  EXPECT_EQ(medium::ManifestLines(std::string_view("a\r\nb\0c\r\nd", 9)), (Lines{"a", "b"})) << "a NUL ends the text";
  const std::string longLine(300, 'x');
  EXPECT_EQ(medium::ManifestLines(longLine), Lines{std::string_view(longLine).substr(0, 255)});
  std::string many;
  for (int i = 0; i < 1500; ++i) many += "f\r\n";
  EXPECT_EQ(medium::ManifestLines(many).size(), 1000u);
}

// As the builder writes a manifest and reads one back: the progress bar ends full only
// without a break after the last line, and every line comes back, an empty one too.
TEST(ManifestRules, WrittenAndReadBack) {
  const std::vector<std::string> lines = {"brisel.ini", "word\\a.txt", "", "b"};
  EXPECT_EQ(medium::ManifestText(lines), "brisel.ini\r\nword\\a.txt\r\n\r\nb");
  EXPECT_EQ(medium::WrittenManifestLines(medium::ManifestText(lines)), lines);
  EXPECT_EQ(medium::ManifestText({}), "");
  EXPECT_EQ(medium::WrittenManifestLines("a\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(medium::WrittenManifestLines("a\rb\nc"), std::vector<std::string>{"a\rb\nc"}) << "only CR LF breaks";
}

// The version as the installed-programs entry shows it and as earlier versions' keys name it.
TEST(ProductFacts, VersionText) {
  EXPECT_EQ(product::VersionText(product::ProductVersion), "1.3");
  EXPECT_EQ(product::VersionText(10), "1.0");
  EXPECT_EQ(product::VersionText(21), "2.1");
}

TEST(ManifestRules, EndOfListAndNamesThatAreOnlyLogged) {
  EXPECT_TRUE(medium::EndsList(""));
  EXPECT_TRUE(medium::EndsList("*****"));
  EXPECT_FALSE(medium::EndsList("****"));
  EXPECT_FALSE(medium::EndsList("***** "));
  EXPECT_TRUE(medium::IsLoggedNotCopied("brisel.ini"));
  EXPECT_TRUE(medium::IsLoggedNotCopied("word\\a.ini.bak"));
  EXPECT_TRUE(medium::IsLoggedNotCopied(".ini.ini")) << "a second .ini further on counts";
  EXPECT_FALSE(medium::IsLoggedNotCopied(".ini"));
  EXPECT_FALSE(medium::IsLoggedNotCopied("BRISEL.INI"));
  EXPECT_FALSE(medium::IsLoggedNotCopied("lumora.exe"));
}

TEST(Adnote, ValueRunsToTheEndOfItsLineWithoutLeadingBlanks) {
  EXPECT_EQ(medium::ExtractAdnote("adnote=5\r\nother=1\r\n"), "5");
  EXPECT_EQ(medium::ExtractAdnote("[install]\r\nadnote = \t欢迎 使用 \r\n"), "欢迎 使用 ");
  EXPECT_EQ(medium::ExtractAdnote("adnote=last line without break"), "last line without break");
  EXPECT_EQ(medium::ExtractAdnote("adnote=\r\nnext=line"), "") << "the next line is not the value";
  EXPECT_EQ(medium::ExtractAdnote("adnote:x\nnote=7\n"), "7") << "the first = after adnote, on any line";
}

TEST(Adnote, MissingKeyOrEqualsOrBeyondTheFirst64Bytes) {
  EXPECT_EQ(medium::ExtractAdnote(""), std::nullopt);
  EXPECT_EQ(medium::ExtractAdnote("AdNote=1"), std::nullopt) << "case-sensitive";
  EXPECT_EQ(medium::ExtractAdnote("adnote 1"), std::nullopt);
  EXPECT_EQ(medium::ExtractAdnote(std::string(64, ' ') + "adnote=1"), std::nullopt);
  EXPECT_EQ(medium::ExtractAdnote(std::string(58, ' ') + "adnote=1"), std::nullopt) << "= is byte 65";
  EXPECT_EQ(medium::ExtractAdnote(std::string(57, ' ') + "adnote=12"), "") << "only the = fits";
  EXPECT_EQ(medium::ExtractAdnote(std::string("ad\0note=1", 9)), std::nullopt) << "a NUL ends the text";
}

TEST(Adnote, SettingsFileKeepsItsOtherLinesAndTheGbkBytes) {
  EXPECT_EQ(medium::WithProfileValue("", "main", "adnote", "欢迎"), "[main]\r\nadnote=欢迎\r\n");
  EXPECT_EQ(
      medium::WithProfileValue("[Main]\r\nx=1\r\nADNOTE = old\r\n[other]\r\nadnote=2\r\n", "main", "adnote", "新"),
      "[Main]\r\nx=1\r\nadnote=新\r\n[other]\r\nadnote=2\r\n");
  EXPECT_EQ(medium::WithProfileValue("[main]\nx=1\n\n[other]\n", "main", "adnote", "v"),
            "[main]\r\nx=1\r\nadnote=v\r\n\r\n[other]\r\n");
  EXPECT_EQ(medium::WithProfileValue("[other]\r\ny=2\r\n", "main", "adnote", "v"),
            "[other]\r\ny=2\r\n\r\n[main]\r\nadnote=v\r\n");
}

TEST(CommandLine, QuotedProgramNameWithBlanksAndGbkBytes) {
  EXPECT_EQ(command_line::ArgumentAfterProgramName(
                "\"C:\\Temp Folder\\uninstall.exe\" C:\\Program Files\\Morvessa\\Quendral\\uninstall.inf"),
            "C:\\Program Files\\Morvessa\\Quendral\\uninstall.inf");
  // A lead byte inside the quotes takes its trail byte along, even a quote-like one.
  EXPECT_EQ(command_line::ArgumentAfterProgramName("\"C:\\\xD5\x5C\\u.exe\"   \t x y"), "x y");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("\"C:\\u.exe\"x"), "x");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("\"C:\\unterminated"), "");
}

TEST(CommandLine, BareProgramNameEndsAtTheFirstBlankOrControlByte) {
  EXPECT_EQ(command_line::ArgumentAfterProgramName("uninstall.exe"), "");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("uninstall.exe   "), "");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("C:\\uninstall.exe C:\\a b\\uninstall.inf"),
            "C:\\a b\\uninstall.inf");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("u.exe\t\x01log"), "log");
  EXPECT_EQ(command_line::ArgumentAfterProgramName(""), "");
}

// The same rule over UTF-16, as the single-file setup passes its command line on: a GBK
// lead byte means nothing there, and a path its caller matched ends the name.
TEST(CommandLine, TheRuleOverUtf16Text) {
  using command_line::ArgumentAfterName;
  EXPECT_EQ(ArgumentAfterName(std::wstring_view(L"\"C:\\a b\\QuendralSetup.exe\"  /S /D=C:\\x y"), 0),
            L"/S /D=C:\\x y");
  EXPECT_EQ(ArgumentAfterName(std::wstring_view(L"\"C:\\\u00D5\"x"), 0), L"x");
  EXPECT_EQ(ArgumentAfterName(std::wstring_view(L"setup.exe\t/S"), 0), L"/S");
  EXPECT_EQ(ArgumentAfterName(std::wstring_view(L"C:\\a b\\setup.exe /S"), 16), L"/S");
  EXPECT_EQ(ArgumentAfterName(std::wstring_view(L"\"unterminated"), 0), L"");
}

TEST(CommandLine, OwnPathUnquotedIsTheWholeProgramName) {
  const std::string_view own =
      "C:\\Program Files\\\xD5\x5C"
      "a\\uninstall.exe";
  // As Windows starts the registered command: verbatim, blanks and all, any letter case.
  EXPECT_EQ(command_line::ArgumentAfterProgramName("c:\\PROGRAM files\\\xD5\x5C"
                                                   "a\\Uninstall.EXE",
                                                   own),
            "");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("C:\\Program Files\\\xD5\x5C"
                                                   "a\\uninstall.exe /S",
                                                   own),
            "/S");
  // A trail byte is never folded as a letter (\xD5\x7A is not \xD5\x5A); the letter after it is.
  EXPECT_EQ(command_line::ArgumentAfterProgramName("C:\\a b\\\xD5\x7A.exe", "C:\\a b\\\xD5\x5A.exe"),
            "b\\\xD5\x7A.exe");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("C:\\Program Files\\\xD5\x5C"
                                                   "A\\uninstall.exe",
                                                   own),
            "");
  // Any other line keeps the quote-or-blank rule: a longer name, a quoted path, another program.
  EXPECT_EQ(command_line::ArgumentAfterProgramName("C:\\Program Files\\\xD5\x5C"
                                                   "a\\uninstall.exe2",
                                                   own),
            "Files\\\xD5\x5C"
            "a\\uninstall.exe2");
  EXPECT_EQ(command_line::ArgumentAfterProgramName("\"C:\\Temp\\uninstall.exe\" C:\\a b\\uninstall.inf", own),
            "C:\\a b\\uninstall.inf");
}

TEST(InstallOptions, SwitchesAndTheirErrors) {
  struct Case {
    const char* line;
    bool unattended;
    const char* target;
    const char* log;
    const char* invalid;
  };
  const Case cases[] = {
      {"", false, "", "", ""},
      {"  /s  ", true, "", "", ""},
      {"/S /D=C:\\Program Files\\My Q  ", true, "C:\\Program Files\\My Q", "", ""},
      {"/d=\\\\server\\share\\q", false, "\\\\server\\share\\q", "", ""},
      {"/LOG=\"C:\\a b\\setup.log\" /S", true, "", "C:\\a b\\setup.log", ""},
      {"/log=C:\\s.log /D=D:\\", false, "D:\\", "C:\\s.log", ""},
      {"/D=relative\\q", false, "", "", "/D=relative\\q"},
      {"/D=", false, "", "", "/D="},
      {"/S /X", true, "", "", "/X"},
      {"/SILENT", false, "", "", "/SILENT"},
      {"/LOG=", false, "", "", "/LOG="},
      {"/LOG=\"unclosed /S", false, "", "", "/LOG=\"unclosed /S"},
      {"/LOG=\"a b\"x", false, "", "", "/LOG=\"a b\"x"},
      // A whole argument in quotes, as some launchers pass one with blanks.
      {"\"/LOG=C:\\a b.log\" /S \"/D=C:\\x y\" ", true, "C:\\x y", "C:\\a b.log", ""},
      {"\"/S", false, "", "", "\"/S"},
  };
  for (const Case& c : cases) {
    const command_line::InstallOptions options = command_line::ParseInstallOptions(c.line);
    EXPECT_EQ(options.unattended, c.unattended) << c.line;
    EXPECT_EQ(options.targetDir, c.target) << c.line;
    EXPECT_EQ(options.logPath, c.log) << c.line;
    EXPECT_EQ(options.invalidArgument, c.invalid) << c.line;
  }
}

TEST(FreeSpaceRoot, DriveRootOrShareRoot) {
  EXPECT_EQ(gbk::FreeSpaceRoot("C:\\Program Files\\Morvessa\\Quendral"), "C:\\");
  EXPECT_EQ(gbk::FreeSpaceRoot("D:\\"), "D:\\");
  EXPECT_EQ(gbk::FreeSpaceRoot("\\\\server\\share\\apps\\q"), "\\\\server\\share\\");
  EXPECT_EQ(gbk::FreeSpaceRoot("\\\\server\\share"), "\\\\server\\share\\");
  EXPECT_EQ(gbk::FreeSpaceRoot("\\\\server"), std::nullopt);
  EXPECT_EQ(gbk::FreeSpaceRoot("\\\\server\\\\x"), std::nullopt);
  EXPECT_EQ(gbk::FreeSpaceRoot("relative\\folder"), std::nullopt);
  EXPECT_EQ(gbk::FreeSpaceRoot("D:"), std::nullopt);
}

}  // namespace
