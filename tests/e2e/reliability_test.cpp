// Bad input, a killed install and planted DLLs: each answered the way the programs define,
// never by a crash or a hang.
#include <gtest/gtest.h>

#include <random>

#include "e2e_driver/folder_browser.h"
#include "e2e_driver/kit.h"
#include "e2e_driver/machine_state.h"

namespace e2e {
namespace {

constexpr DWORD kInstallWaitMs = 90000;

std::string RandomBytes(size_t count, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator() & 0xFF);
  return bytes;
}

class ReliabilityTest : public KitTest {
 protected:
  // Runs the wizard to the progress page and on to its end: answers every message box
  // with OK and presses Finish on the finish page. Answers the message texts seen and
  // whether the finish page came.
  struct Outcome {
    std::vector<std::string> messages;
    bool finished = false;
  };
  Outcome RunToTheEnd(Installer& installer) {
    Outcome outcome;
    const bool started = installer.StartCopy();
    EXPECT_TRUE(started);
    if (!started) return outcome;
    const ULONGLONG deadline = GetTickCount64() + kInstallWaitMs;
    while (installer.process().Running() && GetTickCount64() < deadline) {
      const MessageBoxSeen box = installer.WaitForMessageBox(50);
      if (box.window != nullptr) {
        outcome.messages.push_back(box.text);
        Press(box.window, IDOK);
        WaitFor([&]() -> HWND { return IsWindow(box.window) ? nullptr : box.window; });
      } else if (HWND finish = installer.WaitForPage(Page::kFinish, 0)) {
        outcome.finished = true;
        installer.FinishWithoutProduct(finish);
      }
    }
    EXPECT_FALSE(installer.process().Running()) << "the installer neither finished nor failed in time";
    return outcome;
  }
};

TEST_F(ReliabilityTest, ManifestWithANulByteEndsThere) {
  Medium medium(TestFolder());
  medium.SetManifest(std::string("lumora.exe\r\nvig\0ilo.exe\r\n", 24));
  Installer installer(medium);
  const Outcome outcome = RunToTheEnd(installer);
  ASSERT_EQ(outcome.messages.size(), 1u);
  EXPECT_EQ(outcome.messages[0], kDefaultTarget + "\\vig不能复制，安装程序将终止。");
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
}

TEST_F(ReliabilityTest, ManifestWithAMegabyteLineAndOfRandomBytes) {
  const MachineState before = CaptureMachineState();
  for (int round = 0; round < 2; ++round) {
    Medium medium(TestFolder("round" + std::to_string(round)));
    medium.SetManifest(round == 0 ? std::string(1 << 20, 'a') + "\r\nlumora.exe\r\n" : RandomBytes(4096, 7));
    Installer installer(medium);
    const Outcome outcome = RunToTheEnd(installer);
    EXPECT_LE(outcome.messages.size(), 1u) << "at most one message per install";
    if (!outcome.finished) {
      const MachineState after = CaptureMachineState();
      EXPECT_TRUE(before == after) << Difference(before, after);
    }
    CleanMachine();
  }
}

TEST_F(ReliabilityTest, ManifestOfAHundredThousandLinesUsesTheFirstThousand) {
  Medium medium(TestFolder());
  std::string manifest;
  for (int i = 1; i < 1000; ++i) manifest += "s" + std::to_string(i) + ".ini\r\n";
  manifest += "last.bin\r\nbeyond.txt\r\n";
  for (int i = 1002; i <= 100000; ++i) manifest += "s" + std::to_string(i) + ".ini\r\n";
  medium.SetManifest(manifest);
  AddLargeDataFile(medium, "last.bin");  // keeps the page up long enough to read its range
  medium.AddDataFile("beyond.txt", "line 1001");
  Installer installer(medium);
  HWND progress = installer.StartCopyOnProgressPage();
  ASSERT_NE(progress, nullptr);
  ASSERT_TRUE(WaitForStatus(progress, kDefaultTarget + "\\last.bin", kInstallWaitMs));
  EXPECT_EQ(ProgressMaximum(progress), 1000);
  HWND finish = installer.WaitForPage(Page::kFinish, kInstallWaitMs);
  ASSERT_NE(finish, nullptr) << "no message; the install completes";
  EXPECT_TRUE(installer.FinishWithoutProduct(finish));
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\last.bin").size(), 256u << 20) << "line 1000 is copied";
  EXPECT_FALSE(FileExists(kDefaultTarget + "\\beyond.txt")) << "line 1001 is not";
  EXPECT_NE(ReadBytes(kDefaultTarget + "\\uninstall.inf")
                .find("\\s999.ini\r\n" + kDefaultTarget + "\\last.bin\r\n" + kDefaultTarget + "\\fendow.pah\r\n"),
            std::string::npos)
      << "the log lists lines 1 to 1000 and then the product's data file";
}

TEST_F(ReliabilityTest, RandomInstallIniStillCompletes) {
  Medium medium(TestFolder());
  WriteBytes(medium.Dir() + "install.ini", RandomBytes(200, 11) + "adnote=" + RandomBytes(40, 12));
  Installer installer(medium);
  const Outcome outcome = RunToTheEnd(installer);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_TRUE(outcome.finished);
}

TEST_F(ReliabilityTest, UninstallStringAtTheEdgeOfItsBuffer) {
  for (size_t length : {599u, 600u, 601u}) {
    CleanMachine();
    std::string value = "C:\\old\\" + std::string(length - 21, 'x') + "\\uninstall.exe";
    ASSERT_EQ(value.size(), length);
    WriteString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", value, kProductView);
    Medium medium(TestFolder(std::to_string(length)));
    Installer installer(medium);
    HWND seen = WaitFor([&]() -> HWND {
      if (HWND welcome = installer.WaitForPage(Page::kWelcome, 0)) return welcome;
      return installer.WaitForMessageBox(0).window;
    });
    ASSERT_NE(seen, nullptr);
    // 599 bytes and the NUL fill the 600-byte buffer; longer values cannot be read.
    EXPECT_EQ(PageOf(seen) == Page::kUnknown, length == 599) << length;
  }
}

TEST_F(ReliabilityTest, GbkNamesWithTrailByte5CInTheManifestAndTheInstallFolder) {
  // 誠 is D5 5C: the install folder ends in a byte that looks like a backslash.
  const std::string parent = TestFolder("target");
  const std::string target = parent + "\\誠";
  MakeFolders(target);
  Medium medium(TestFolder("medium"));
  medium.SetManifest("誠.txt\r\n");
  medium.AddDataFile("誠.txt", "sincere");
  Installer installer(medium);
  HWND destination = installer.WalkTo(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  ASSERT_TRUE(BrowseTo(installer.process().Id(), destination,
                       {"我的电脑", " (C:)", "kit-tests", TestFolderName(), "target", "誠"}));
  ASSERT_TRUE(WaitFor([&]() -> HWND {
    return WindowText(GetDlgItem(destination, IDC_FOLDER_TEXT)) == target ? destination : nullptr;
  }));
  Press(destination, IDC_NEXT);
  HWND summary = installer.WaitForPage(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  Press(summary, IDC_NEXT);
  ASSERT_NE(installer.WaitForPage(Page::kFinish, kInstallWaitMs), nullptr);
  EXPECT_EQ(ReadBytes(target + "\\誠.txt"), "sincere");
  EXPECT_EQ(ReadBytes(target + "\\uninstall.inf").rfind(target + "\\誠.txt\r\n", 0), 0u)
      << "the folder keeps its last character";
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", kProductView), target + "\\uninstall.exe");
}

TEST_F(ReliabilityTest, KilledInstallLeavesWholeRecordsThatTheUninstallerRemoves) {
  Medium medium(TestFolder("medium"));
  medium.SetManifest("lumora.exe\r\nvigilo.exe\r\nlarge.bin\r\nlumora.chm\r\n");
  AddLargeDataFile(medium, "large.bin");
  {
    Installer installer(medium);
    HWND progress = installer.StartCopyOnProgressPage();
    ASSERT_NE(progress, nullptr);
    ASSERT_TRUE(WaitForStatus(progress, kDefaultTarget + "\\large.bin"));
  }  // the installer is ended by force here, in the middle of the large copy
  const std::string log = ReadBytes(kDefaultTarget + "\\uninstall.inf");
  EXPECT_EQ(log, kDefaultTarget + "\\lumora.exe\r\n" + kDefaultTarget + "\\vigilo.exe\r\n");
  Process removal("\"" + KitDir() + "uninstall.exe\" " + kDefaultTarget + "\\uninstall.inf");
  HWND finish = WaitForUninstallFinishPage(70000);
  ASSERT_NE(finish, nullptr);
  EXPECT_FALSE(FileExists(kDefaultTarget + "\\lumora.exe"));
  EXPECT_FALSE(FileExists(kDefaultTarget + "\\vigilo.exe"));
  EXPECT_FALSE(FileExists(kDefaultTarget + "\\uninstall.exe"));
  EXPECT_TRUE(FolderExists(kDefaultTarget + "\\word")) << "folders were not yet listed";
  Press(finish, IDC_UNINSTALL_FINISH);
  EXPECT_TRUE(removal.WaitForExit());
}

TEST_F(ReliabilityTest, BadLogsAreCarriedOutAsFarAsTheyGo) {
  const std::string folder = TestFolder("logs");
  const std::string victim = folder + "\\listed.txt";
  const std::string notListed = folder + "\\after-nul.txt";
  std::string manyRecords;
  for (int i = 0; i < 100000; ++i) manyRecords += folder + "\\missing" + std::to_string(i) + "\r\n";
  const struct {
    const char* name;
    std::string log;
    bool victimGoes;
  } logs[] = {
      {"random", RandomBytes(1 << 16, 3) + "\r\n" + victim + "\r\n", false},
      {"nul", victim + "\r\n" + std::string("\0", 1) + notListed + "\r\n", true},
      {"huge-line", std::string(50 << 20, 'x') + "\r\n" + victim + "\r\n", true},
      {"many-records", manyRecords + victim + "\r\n", true},
  };
  for (const auto& c : logs) {
    WriteBytes(victim, "v");
    WriteBytes(notListed, "n");
    const std::string installed = TestFolder(std::string("installed-") + c.name);
    CopyOrDie(KitDir() + "uninstall.exe", installed + "\\uninstall.exe");
    WriteBytes(installed + "\\uninstall.inf", c.log);
    Process removal("\"" + KitDir() + "uninstall.exe\" " + installed + "\\uninstall.inf");
    HWND finish = WaitForUninstallFinishPage(120000);
    ASSERT_NE(finish, nullptr) << c.name;
    if (c.victimGoes) {
      EXPECT_FALSE(FileExists(victim)) << c.name;
    }
    EXPECT_TRUE(FileExists(notListed)) << c.name;
    EXPECT_FALSE(FileExists(installed + "\\uninstall.inf")) << c.name;
    Press(finish, IDC_UNINSTALL_FINISH);
    EXPECT_TRUE(removal.WaitForExit()) << c.name;
  }
}

TEST_F(ReliabilityTest, TwentyMegabyteLicenceIsShownWhole) {
  Medium medium(TestFolder());
  std::string licence;
  while (licence.size() < (20u << 20)) licence += "本软件使用许可协议的一行文字。0123456789\r\n";
  WriteBytes(medium.Dir() + "License.txt", licence);
  Installer installer(medium);
  HWND welcome = installer.WaitForPage(Page::kWelcome);
  ASSERT_NE(welcome, nullptr);
  Press(welcome, IDC_NEXT);
  // Wine's edit control lays out every wrapped line before the page shows: 16 to 20 s here.
  HWND licencePage = installer.WaitForPage(Page::kLicence, 180000);
  ASSERT_NE(licencePage, nullptr);
  // In UTF-16 units, as the Unicode page holds it.
  EXPECT_EQ(static_cast<size_t>(Ask(GetDlgItem(licencePage, IDC_TEXT_BOX), WM_GETTEXTLENGTH)), Wide(licence).size());
}

// Wine takes the DLL overrides of a program started from here from the registry, not from
// the environment it inherits; native first makes Wine take a DLL beside the program.
class NativeDllFirst {
 public:
  NativeDllFirst(const char* dll, std::vector<std::string> programs) : programs_(std::move(programs)) {
    for (const std::string& program : programs_) WriteString(HKEY_CURRENT_USER, Key(program), dll, "native,builtin");
  }
  ~NativeDllFirst() {
    for (const std::string& program : programs_)
      DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + program);
  }

 private:
  static std::string Key(const std::string& program) {
    return "Software\\Wine\\AppDefaults\\" + program + "\\DllOverrides";
  }
  std::vector<std::string> programs_;
};

// comctl32.dll, which the installer loads itself, and uxtheme.dll, which Wine's user32
// loads into every program with a window.
constexpr const char* kPlantedNames[] = {"comctl32", "uxtheme"};

void Plant(const std::string& folder) {
  for (const char* name : kPlantedNames) CopyOrDie(HelperDir() + "planted\\comctl32.dll", folder + name + ".dll");
}

TEST_F(ReliabilityTest, PlantedDllsBesideTheProgramsAreNotLoaded) {
  const std::string mark = TestFolder("mark") + "\\loaded.txt";
  SetEnvironmentVariableA("QUENDRAL_PLANTED_MARK", mark.c_str());
  NativeDllFirst comctl("comctl32", {"plain_loader.exe", "install.exe", "uninstall.exe"});
  NativeDllFirst uxtheme("uxtheme", {"plain_loader.exe", "install.exe", "uninstall.exe"});

  // A program that loads either DLL the ordinary way takes the planted one.
  const std::string loaderFolder = TestFolder("loader") + "\\";
  CopyOrDie(HelperDir() + "plain_loader.exe", loaderFolder + "plain_loader.exe");
  Plant(loaderFolder);
  for (const char* name : kPlantedNames) {
    Process loader("\"" + loaderFolder + "plain_loader.exe\" " + name + ".dll");
    EXPECT_TRUE(loader.WaitForExit());
    ASSERT_TRUE(FileExists(mark)) << name << ".dll planted is taken by an unguarded program";
    DeleteFileW(Wide(mark).c_str());
  }

  Medium medium(TestFolder("medium"));
  Plant(medium.Dir());
  {
    Installer installer(medium);
    EXPECT_NE(installer.WalkTo(Page::kProgress), nullptr) << "the progress bar's class still comes from the system";
  }
  EXPECT_FALSE(FileExists(mark)) << "install.exe loaded a DLL beside it";

  // The uninstaller's copy runs from the temporary folder: its removal run, on a missing log.
  const std::string temp = TempFolder();
  CopyOrDie(KitDir() + "uninstall.exe", temp + "uninstall.exe");
  Plant(temp);
  {
    Process removal("\"" + temp + "uninstall.exe\" " + TestFolder("missing") + "\\uninstall.inf");
    HWND finish = WaitForUninstallFinishPage();
    EXPECT_NE(finish, nullptr);
    if (finish != nullptr) Press(finish, IDC_UNINSTALL_FINISH);
    EXPECT_TRUE(removal.WaitForExit());
  }
  for (const char* name : kPlantedNames) DeleteFileW(Wide(temp + name + ".dll").c_str());
  SetEnvironmentVariableA("QUENDRAL_PLANTED_MARK", nullptr);
  EXPECT_FALSE(FileExists(mark)) << "the uninstaller's copy loaded a DLL beside it";
}

}  // namespace
}  // namespace e2e
