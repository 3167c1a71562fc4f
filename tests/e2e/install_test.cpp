// The install itself: files, folders, shortcuts, registry, settings and the log, and the
// roll-back of a stopped or failed install.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <optional>

#include "common/medium/payload_format.h"
#include "e2e_driver/held_worker.h"
#include "e2e_driver/kit.h"
#include "e2e_driver/machine_state.h"
#include "e2e_driver/shortcuts.h"

namespace e2e {
namespace {

constexpr DWORD kInstallWaitMs = 60000;

class InstallTest : public KitTest {
 protected:
  std::string CommonPrograms() const { return ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs"); }
  std::string CommonDesktop() const { return ShellFolder(HKEY_LOCAL_MACHINE, "Common Desktop"); }
  std::string ProgramGroup() const { return CommonPrograms() + "\\Quendral1.3"; }
  std::string Log() const { return ReadBytes(kDefaultTarget + "\\uninstall.inf"); }

  // Section 0 after the manifest's files of a completed install with the all-users shortcuts,
  // and the other sections; the folder section ends with the default folders when the
  // install went into the default folder.
  std::string CompletedTail(const std::string& target = kDefaultTarget) const {
    const std::string group = ProgramGroup();
    return target + "\\fendow.pah\r\n" + group + "\\Quendral.lnk\r\n" + group + "\\Quendral帮助.lnk\r\n" + group +
           "\\Morvessa公司主页.lnk\r\n" + group + "\\删除Quendral.lnk\r\n" + CommonDesktop() +
           "\\Quendral.lnk\r\n\r\n" +
           "HKEY_LOCAL_MACHINE,Software\\Microsoft\\Windows\\CurrentVersion\\run,Lumora vigilo\r\n" +
           "HKEY_LOCAL_MACHINE,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendral1.3\r\n\r\n" +
           FolderRecords(target, group, target == kDefaultTarget);
  }

  // Waits for an unattended installer to end, polling every 10 ms for a window of it on
  // screen; answers whether one was ever seen.
  static bool WindowSeenUntilExit(Installer& installer) {
    bool seen = false;
    for (const ULONGLONG deadline = GetTickCount64() + kInstallWaitMs;
         installer.process().Running() && GetTickCount64() < deadline; Sleep(10)) {
      seen = seen || !installer.Windows().empty();
    }
    EXPECT_TRUE(installer.WaitForExit(0)) << "the unattended install did not end";
    return seen;
  }

  // Expects a refusal's one message box with `text`, presses OK and expects the installer
  // to end with `exitCode`, nothing installed.
  static void ExpectRefusal(Installer& installer, const std::string& text, DWORD exitCode) {
    const MessageBoxSeen box = installer.WaitForMessageBox();
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, kWizardCaption);
    Press(box.window, IDOK);
    EXPECT_TRUE(installer.WaitForExit());
    EXPECT_EQ(installer.process().ExitCode(), exitCode);
    EXPECT_FALSE(FolderExists(kMorvessaFolder));
  }

  // Runs the wizard from the welcome page to the finish page.
  HWND InstallToFinish(Installer& installer) {
    return installer.StartCopy() ? installer.WaitForPage(Page::kFinish, kInstallWaitMs) : nullptr;
  }

  // Expects the one failure message, presses OK and expects the wizard to end with the
  // machine as it was.
  void ExpectFailureRolledBack(Installer& installer, const std::string& message, const MachineState& before,
                               DWORD exitCode = 6) {
    const MessageBoxSeen box = installer.WaitForMessageBox(kInstallWaitMs);
    EXPECT_EQ(box.text, message);
    EXPECT_EQ(box.caption, kWizardCaption);
    EXPECT_EQ(PageOf(box.owner), Page::kProgress) << "the worker's box belongs to the page";
    EXPECT_TRUE(box.hasOk);
    Press(box.window, IDOK);
    EXPECT_TRUE(installer.WaitForExit()) << "a second message box or a hung page";
    EXPECT_EQ(installer.process().ExitCode(), exitCode) << "failed and rolled back";
    const MachineState after = CaptureMachineState();
    EXPECT_TRUE(before == after) << Difference(before, after);
  }
};

TEST_F(InstallTest, CompletedInstallIntoTheDefaultFolder) {
  Medium medium(TestFolder());
  WriteBytes(medium.Dir() + "data\\brisel.ini", "[main]\r\nfrom the medium, never copied\r\n");
  Installer installer(medium);
  ASSERT_NE(InstallToFinish(installer), nullptr);

  for (const char* name : {"lumora.exe", "vigilo.exe", "lumora.chm"}) {
    EXPECT_EQ(ReadBytes(kDefaultTarget + "\\" + name), ReadBytes(medium.Dir() + "data\\" + name)) << name;
  }
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\uninstall.exe"), ReadBytes(medium.Dir() + "uninstall.exe"));
  for (const char* folder :
       {"word", "sound", "mp3lib", "mp3lib\\1", "mp3lib\\6", "bok", "bok\\1", "bok\\6", "mp3", "users"}) {
    EXPECT_TRUE(FolderExists(kDefaultTarget + "\\" + folder)) << folder;
  }
  EXPECT_FALSE(FolderExists(kDefaultTarget + "\\mp3lib\\0"));
  EXPECT_FALSE(FolderExists(kDefaultTarget + "\\bok\\7"));

  // The settings value is carried over, without the lines after it.
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\brisel.ini"), "[main]\r\nadnote=欢迎使用Quendral\r\n");

  const std::string group = ProgramGroup();
  struct Link {
    std::string path, target, description;
  };
  const Link links[] = {
      {group + "\\Quendral.lnk", kDefaultTarget + "\\lumora.exe", "Quendral"},
      {group + "\\Quendral帮助.lnk", kDefaultTarget + "\\lumora.chm", "Quendral帮助"},
      {group + "\\删除Quendral.lnk", kDefaultTarget + "\\uninstall.exe", "删除Quendral"},
      {CommonDesktop() + "\\Quendral.lnk", kDefaultTarget + "\\lumora.exe", "Quendral"},
  };
  for (const Link& link : links) {
    ASSERT_TRUE(FileExists(link.path)) << link.path;
    const ShortcutSeen seen = ReadShortcut(link.path);
    EXPECT_EQ(seen.target, link.target) << link.path;
    EXPECT_EQ(seen.description, link.description) << link.path;
  }
  EXPECT_TRUE(FileExists(group + "\\Morvessa公司主页.lnk"));
  EXPECT_EQ(ReadShortcut(group + "\\Morvessa公司主页.lnk").description, "Morvessa公司主页");

  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", kProductView),
            "\"" + kDefaultTarget + "\\vigilo.exe\"");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", kProductView), "Quendral1.3");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", kProductView),
            kDefaultTarget + "\\uninstall.exe");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon", kProductView),
            kDefaultTarget + "\\lumora.exe");

  const std::string t = kDefaultTarget;
  EXPECT_EQ(Log(), t + "\\brisel.ini\r\n" + t + "\\lumora.exe\r\n" + t + "\\vigilo.exe\r\n" + t + "\\lumora.chm\r\n" +
                       CompletedTail());
}

TEST_F(InstallTest, EmptyManifestAndAFirstLineOfAsterisksCopyNothingAndComplete) {
  for (const char* manifest : {"", "*****\r\nlumora.exe\r\n"}) {
    CleanMachine();
    Medium medium(TestFolder(manifest[0] == '\0' ? "empty" : "stars"));
    medium.SetManifest(manifest);
    Installer installer(medium);
    ASSERT_NE(InstallToFinish(installer), nullptr) << "manifest: " << manifest;
    EXPECT_FALSE(FileExists(kDefaultTarget + "\\lumora.exe"));
    EXPECT_EQ(Log(), CompletedTail());
  }
}

TEST_F(InstallTest, AnEmptyLineEndsTheListAndLongLinesAreCut) {
  Medium medium(TestFolder());
  medium.SetManifest("lumora.exe\r\n\r\nvigilo.exe\r\n");
  Installer installer(medium);
  ASSERT_NE(InstallToFinish(installer), nullptr);
  EXPECT_TRUE(FileExists(kDefaultTarget + "\\lumora.exe"));
  EXPECT_FALSE(FileExists(kDefaultTarget + "\\vigilo.exe"));
  EXPECT_EQ(Log(), kDefaultTarget + "\\lumora.exe\r\n" + CompletedTail());
}

TEST_F(InstallTest, IniNamesAreLoggedButNotCopiedUnlessTheyStartWithIni) {
  Medium medium(TestFolder());
  medium.SetManifest("brisel.ini\r\nSETUP.INI\r\n.ini\r\n");
  medium.AddDataFile("brisel.ini", "medium copy");
  medium.AddDataFile("SETUP.INI", "capitals are copied");
  medium.AddDataFile(".ini", "a leading .ini is copied");
  Installer installer(medium);
  ASSERT_NE(InstallToFinish(installer), nullptr);
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\SETUP.INI"), "capitals are copied");
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\.ini"), "a leading .ini is copied");
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\brisel.ini").find("medium copy"), std::string::npos);
  const std::string t = kDefaultTarget;
  EXPECT_EQ(Log(), t + "\\brisel.ini\r\n" + t + "\\SETUP.INI\r\n" + t + "\\.ini\r\n" + CompletedTail());
}

TEST_F(InstallTest, ALineLongerThan255BytesIsCutAndItsCopyFailsCleanly) {
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder());
  medium.SetManifest(std::string(300, 'a') + "\r\n");
  Installer installer(medium);
  ASSERT_TRUE(installer.StartCopy());
  ExpectFailureRolledBack(installer, kDefaultTarget + "\\" + std::string(255, 'a') + "不能复制，安装程序将终止。",
                          before);
}

TEST_F(InstallTest, ProgressRangeCountsTheTrailingEmptyLineAndStopsOneShort) {
  Medium medium(TestFolder());
  medium.SetManifest("lumora.exe\r\nlarge.bin\r\n");
  AddLargeDataFile(medium, "large.bin");
  Installer installer(medium);
  HWND summary = installer.WalkTo(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(summary, IDC_TEXT_BOX)), "安装目录：" + kDefaultTarget);
  Press(summary, IDC_NEXT);
  HWND progress = installer.WaitForPage(Page::kProgress);
  ASSERT_NE(progress, nullptr);
  ASSERT_TRUE(WaitForStatus(progress, kDefaultTarget + "\\large.bin"));
  Press(progress, IDCANCEL);  // holds the worker after the large file
  const MessageBoxSeen question = installer.WaitForMessageBox();
  EXPECT_EQ(question.text, "您真的想停止安装吗?");
  EXPECT_EQ(question.owner, progress);
  ASSERT_TRUE(WaitFor([&] { return ProgressPosition(progress) == 2 ? progress : nullptr; }));
  EXPECT_EQ(ProgressMaximum(progress), 3) << "two names and the empty line after the last CR LF";
  Press(question.window, IDNO);
  EXPECT_EQ(HighestPositionUntilClosed(progress, kInstallWaitMs), 2) << "the empty line is never counted";
  ASSERT_NE(installer.WaitForPage(Page::kFinish, kInstallWaitMs), nullptr);
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\large.bin").size(), 256u << 20);
}

TEST_F(InstallTest, CancelYesDuringALargeCopyRollsBackWithoutASecondQuestion) {
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder());
  std::string manifest = "large.bin\r\n";
  for (int i = 0; i < 1499; ++i) manifest += "setting" + std::to_string(i) + ".ini\r\n";
  medium.SetManifest(manifest);
  AddLargeDataFile(medium, "large.bin");
  Installer installer(medium);
  HWND progress = installer.StartCopyOnProgressPage();
  ASSERT_NE(progress, nullptr);
  ASSERT_TRUE(WaitForStatus(progress, kDefaultTarget + "\\large.bin"));
  Press(progress, IDCANCEL);
  const MessageBoxSeen question = installer.WaitForMessageBox();
  ASSERT_TRUE(WaitFor([&] { return ProgressPosition(progress) == 1 ? progress : nullptr; }));
  EXPECT_EQ(ProgressMaximum(progress), 1000) << "1500 lines give the range 0..1000";
  // While the worker holds, the log already lists the large file.
  EXPECT_EQ(Log(), kDefaultTarget + "\\large.bin\r\n");
  Press(question.window, IDYES);
  EXPECT_TRUE(installer.WaitForExit(kInstallWaitMs));
  const MachineState after = CaptureMachineState();
  EXPECT_TRUE(before == after) << Difference(before, after);
}

TEST_F(InstallTest, CancelYesBeforeTheFirstFileStopsAfterItAndRollsBack) {
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder());
  medium.SetManifest("lumora.exe\r\nvigilo.exe\r\n");
  // The worker copies the uninstaller before it opens the log and reads the first line; a
  // large one keeps it there while the question is open.
  PlaceLargeFile(medium.Dir() + "uninstall.exe", 1024);
  Installer installer(medium);
  HWND progress = installer.StartCopyOnProgressPage();
  ASSERT_NE(progress, nullptr);
  ASSERT_TRUE(WaitFor([&] { return FileExists(kDefaultTarget + "\\uninstall.exe") ? progress : nullptr; }));
  Press(progress, IDCANCEL);
  const MessageBoxSeen question = installer.WaitForMessageBox();
  ASSERT_TRUE(question.hasYesNo);
  // No file of the list begun yet: no log, no name on the status line.
  EXPECT_FALSE(FileExists(kDefaultTarget + "\\uninstall.inf"));
  EXPECT_EQ(WindowText(GetDlgItem(progress, IDC_STATUS_TEXT)).find("lumora.exe"), std::string::npos);
  // The worker holds only after a line: it copies the first file, then waits.
  ASSERT_TRUE(WaitFor([&] { return ProgressPosition(progress) == 1 ? progress : nullptr; }, kInstallWaitMs));
  EXPECT_EQ(Log(), kDefaultTarget + "\\lumora.exe\r\n");
  Press(question.window, IDYES);
  EXPECT_TRUE(installer.WaitForExit(kInstallWaitMs));
  const MachineState after = CaptureMachineState();
  EXPECT_TRUE(before == after) << Difference(before, after);
}

TEST_F(InstallTest, FailedLineIsLoggedBeforeItsMessageAndTheBarHasNotCountedIt) {
  Medium medium(TestFolder());
  medium.SetManifest("lumora.exe\r\nmissing.bin\r\nvigilo.exe\r\n");
  Installer installer(medium);
  HWND progress = installer.StartCopyOnProgressPage();
  ASSERT_NE(progress, nullptr);
  const MessageBoxSeen box = installer.WaitForMessageBox(kInstallWaitMs);
  EXPECT_EQ(box.text, kDefaultTarget + "\\missing.bin不能复制，安装程序将终止。");
  EXPECT_EQ(GetWindow(box.window, GW_OWNER), progress);
  // The failed line is already in the log; the bar has not yet counted it.
  EXPECT_EQ(Log(), kDefaultTarget + "\\lumora.exe\r\n" + kDefaultTarget + "\\missing.bin\r\n");
  EXPECT_EQ(ProgressPosition(progress), 1);
  Press(box.window, IDOK);
  EXPECT_TRUE(installer.WaitForExit());
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
  EXPECT_FALSE(FileExists(kDefaultTarget + "\\lumora.exe"));
}

TEST_F(InstallTest, MissingManifestFailsBeforeAnythingIsInstalled) {
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder());
  DeleteFileW(Wide(medium.Dir() + "install.inf").c_str());
  Installer installer(medium);
  ASSERT_TRUE(installer.StartCopy());
  ExpectFailureRolledBack(installer, medium.Dir() + "install.inf不能打开，安装程序将终止。", before);
}

TEST_F(InstallTest, MissingSourceFileFailsAndRollsBack) {
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder());
  medium.SetManifest("lumora.exe\r\nmissing.bin\r\nvigilo.exe\r\n");
  Installer installer(medium);
  ASSERT_TRUE(installer.StartCopy());
  ExpectFailureRolledBack(installer, kDefaultTarget + "\\missing.bin不能复制，安装程序将终止。", before);
}

// A read-only file would do on Windows; these tests run as root, for whom Wine's
// read-only files stay writable, so a folder of the file's name refuses the copy instead.
TEST_F(InstallTest, DestinationThatRefusesTheOverwriteIsACopyFailure) {
  MakeFolders(kDefaultTarget + "\\vigilo.exe");
  WriteBytes(kDefaultTarget + "\\vigilo.exe\\inside", "kept");
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder());
  Installer installer(medium);
  ASSERT_TRUE(installer.StartCopy());
  ExpectFailureRolledBack(installer, kDefaultTarget + "\\vigilo.exe不能复制，安装程序将终止。", before);
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\vigilo.exe\\inside"), "kept");
}

TEST_F(InstallTest, LogThatCannotBeCreatedFailsAndRollsBack) {
  MakeFolders(kDefaultTarget + "\\uninstall.inf");  // a folder where the log should go
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder());
  Installer installer(medium);
  ASSERT_TRUE(installer.StartCopy());
  ExpectFailureRolledBack(installer, kDefaultTarget + "\\uninstall.inf不能产生，安装程序将终止。", before);
}

TEST_F(InstallTest, WindowsVersionDecidesWhereShortcutsGo) {
  const std::string userPrograms = ShellFolder(HKEY_CURRENT_USER, "Programs");
  const std::string userDesktop = ShellFolder(HKEY_CURRENT_USER, "Desktop");
  ASSERT_FALSE(userPrograms.empty());
  {
    WriteString(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\install.exe", "Version", "nt40");
    Medium medium(TestFolder("nt40"));
    medium.SetManifest("");
    Installer installer(medium);
    ASSERT_NE(InstallToFinish(installer), nullptr);
    const std::string group = userPrograms + "\\Quendral1.3";
    EXPECT_TRUE(FileExists(group + "\\删除Quendral.lnk"));
    EXPECT_TRUE(FileExists(userDesktop + "\\Quendral.lnk"));
    EXPECT_FALSE(FolderExists(ProgramGroup()));
    EXPECT_NE(Log().find(group + "\r\n" + kDefaultTarget + "\\users\r\n"), std::string::npos);
  }
  CleanMachine();
  {
    WriteString(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\install.exe", "Version", "win31");
    Medium medium(TestFolder("win31"));
    medium.SetManifest("");
    Installer installer(medium);
    ASSERT_NE(InstallToFinish(installer), nullptr);
    EXPECT_FALSE(FolderExists(userPrograms + "\\Quendral1.3"));
    EXPECT_FALSE(FolderExists(ProgramGroup()));
    EXPECT_EQ(Log(),
              kDefaultTarget + "\\fendow.pah\r\n\r\n" +
                  "HKEY_LOCAL_MACHINE,Software\\Microsoft\\Windows\\CurrentVersion\\run,Lumora vigilo\r\n" +
                  "HKEY_LOCAL_MACHINE,SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendral1.3\r\n\r\n" +
                  FolderRecords(kDefaultTarget, "", true));
  }
}

// One setup of the product line at a time: whatever starts while an install copies is
// refused with 1618 and changes nothing, and the running install completes as if alone.
TEST_F(InstallTest, EverySetupStartedWhileOneRunsIsRefusedWith1618) {
  Medium medium(TestFolder("medium"), true, Programs::kHeld);
  Installer first(medium);
  HWND summary = first.WalkTo(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  HeldWorker worker(first.process().Id());
  Press(summary, IDC_NEXT);
  ASSERT_TRUE(worker.Catch(kDefaultWaitMs)) << "the first install is copying";
  const MachineState during = CaptureMachineState();

  const std::string elsewhere = TestFolder("second") + "\\Quendral";
  const std::string busyInstall = "另一个Quendral安装或删除程序正在运行，请等它结束后再安装。";
  const std::string busyRemoval = "另一个Quendral安装或删除程序正在运行，请等它结束后再删除。";
  for (const std::string& arguments : {std::string("/S"), "/LOG=" + elsewhere + ".log /S /D=" + elsewhere}) {
    Installer quiet(medium, arguments);
    EXPECT_FALSE(WindowSeenUntilExit(quiet)) << arguments;
    EXPECT_EQ(quiet.process().ExitCode(), 1618u) << arguments;
  }
  EXPECT_FALSE(FolderExists(elsewhere) || FileExists(elsewhere + ".log"));
  Process quietRemoval("\"" + medium.Dir() + "uninstall.exe\" /S");
  ASSERT_TRUE(quietRemoval.WaitForExit());
  EXPECT_EQ(quietRemoval.ExitCode(), 1618u);
  const std::vector<std::string> tempDuring = PrivateTempFolders();
  Installer download(Installer::SetupFile{BuiltSetupFile()}, "/S");
  ASSERT_TRUE(download.WaitForExit()) << "no message box waits for an answer";
  EXPECT_EQ(download.process().ExitCode(), 1618u) << "the download takes the lock before it unpacks";
  EXPECT_EQ(PrivateTempFolders(), tempDuring) << "nothing unpacked";

  Installer wizard(medium);
  const MessageBoxSeen refusal = wizard.WaitForMessageBox();
  EXPECT_EQ(refusal.text, busyInstall);
  EXPECT_EQ(refusal.caption, kWizardCaption);
  EXPECT_TRUE(refusal.hasOk && refusal.owner == nullptr);
  EXPECT_EQ(wizard.WaitForPage(Page::kWelcome, 0), nullptr);
  Press(refusal.window, IDOK);
  ASSERT_TRUE(wizard.WaitForExit());
  EXPECT_EQ(wizard.process().ExitCode(), 1618u);
  Process uninstaller("\"" + medium.Dir() + "uninstall.exe\"");
  const MessageBoxSeen removalRefusal = WaitForMessageBox(uninstaller.Id());
  EXPECT_EQ(removalRefusal.text, busyRemoval) << "before its question";
  EXPECT_EQ(removalRefusal.caption, "Quendral删除程序");
  Press(removalRefusal.window, IDOK);
  ASSERT_TRUE(uninstaller.WaitForExit());
  EXPECT_EQ(uninstaller.ExitCode(), 0u);
  const MachineState after = CaptureMachineState();
  EXPECT_TRUE(during == after) << Difference(during, after);

  worker.Release();
  HWND finish = first.WaitForPage(Page::kFinish, kInstallWaitMs);
  ASSERT_NE(finish, nullptr);
  EXPECT_TRUE(first.FinishWithoutProduct(finish));
  const std::string t = kDefaultTarget;
  EXPECT_EQ(Log(), t + "\\brisel.ini\r\n" + t + "\\lumora.exe\r\n" + t + "\\vigilo.exe\r\n" + t + "\\lumora.chm\r\n" +
                       CompletedTail());
}

// Whether a file's or folder's rules name everyone: under Wine what tells the kit's own
// rules from those a plain new file or folder reads back with.
bool LetsEveryoneIn(const std::string& path) {
  const std::vector<std::string> users = AllowedUsers(path);
  return users.empty() || std::find(users.begin(), users.end(), "S-1-1-0") != users.end();
}

// From a medium whose every file is read-only, as on a CD, into a folder on another drive,
// outside Program Files.
TEST_F(InstallTest, UnattendedInstallIntoANewFolderAndTheQuietUninstallCommand) {
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder("medium"));
  medium.MakeReadOnly();
  const std::string existing = "D:\\部署测试";  // there before, with rules of its own
  MakeFolders(existing);
  const std::vector<std::string> existingRules = AllowedUsers(existing);
  const std::string parent = existing + "\\Morvessa";  // its uninstall log too has a Chinese path
  const std::string target = parent + "\\Quendral 1.3";
  Installer installer(medium, "/s /D=" + target);
  EXPECT_FALSE(WindowSeenUntilExit(installer)) << "no window of the installer on screen, ever";
  EXPECT_EQ(installer.process().ExitCode(), 0u);
  // What the kit made has its rules from the moment it exists, not the drive's; the folder
  // that was there keeps its own.
  for (const std::string& made : {parent, target, target + "\\word", target + "\\uninstall.exe",
                                  target + "\\uninstall.inf", target + "\\lumora.exe", target + "\\brisel.ini"}) {
    EXPECT_FALSE(LetsEveryoneIn(made)) << made;
  }
  EXPECT_EQ(AllowedUsers(existing), existingRules);

  unsigned long long bytes = 0;
  for (const char* name : {"lumora.exe", "vigilo.exe", "lumora.chm"}) {
    const std::string copied = ReadBytes(target + "\\" + name);
    EXPECT_EQ(copied, ReadBytes(medium.Dir() + "data\\" + name)) << name;
    bytes += copied.size();
  }
  EXPECT_FALSE(FolderExists(kMorvessaFolder)) << "the default folder is not created";
  EXPECT_FALSE(AnyFileReadOnly(target));
  // As an interactive install into that folder logs it, with the two folders start-up
  // created, deepest first, at the end.
  EXPECT_EQ(ReadBytes(target + "\\uninstall.inf"), target + "\\brisel.ini\r\n" + target + "\\lumora.exe\r\n" + target +
                                                       "\\vigilo.exe\r\n" + target + "\\lumora.chm\r\n" +
                                                       CompletedTail(target) + target + "\r\n" + parent + "\r\n");
  const std::string quiet = "\"" + target + "\\uninstall.exe\" /S";
  const std::pair<const char*, std::string> strings[] = {{"DisplayName", "Quendral1.3"},
                                                         {"UninstallString", target + "\\uninstall.exe"},
                                                         {"DisplayIcon", target + "\\lumora.exe"},
                                                         {"DisplayVersion", "1.3"},
                                                         {"Publisher", "Morvessa"},
                                                         {"InstallLocation", target},
                                                         {"QuietUninstallString", quiet}};
  for (const auto& [name, data] : strings) {
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, name, kProductView), data) << name;
  }
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize", kProductView), (bytes + 1023) / 1024);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, "NoModify", kProductView), 1u);
  EXPECT_EQ(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, "NoRepair", kProductView), 1u);
  EXPECT_EQ(FindTitled("Quendral复习自动检查"), nullptr) << "no program is started";
  EXPECT_EQ(FindTitled("Quendral"), nullptr) << "no program is started";

  // Without its log the quiet uninstall removes nothing and says so.
  const std::string log = target + "\\uninstall.inf";
  ASSERT_TRUE(MoveFileW(Wide(log).c_str(), Wide(log + ".away").c_str()));
  {
    Process withoutLog(quiet, target + "\\uninstall.exe");
    ASSERT_TRUE(withoutLog.WaitForExit(70000));
    EXPECT_EQ(withoutLog.ExitCode(), 6u);
    EXPECT_TRUE(FileExists(target + "\\lumora.exe") && FileExists(target + "\\uninstall.exe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kProductView));
  }
  ASSERT_TRUE(MoveFileW(Wide(log + ".away").c_str(), Wide(log).c_str()));

  // As a deployment system runs the registered command: the value as it stands. An install
  // at once after it (a script's reinstall) installs, and the ending removal leaves it whole:
  // held here by the test, the removal is still finishing when the install starts.
  HANDLE installedProgram = CreateFileW(Wide(target + "\\uninstall.exe").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(installedProgram, INVALID_HANDLE_VALUE);
  Process removal(quiet, target + "\\uninstall.exe");
  ASSERT_TRUE(removal.WaitForExit(70000));
  EXPECT_EQ(removal.ExitCode(), 0u);
  EXPECT_FALSE(FileExists(target + "\\lumora.exe")) << "removed before the exit code came";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kProductView)) << "removed before the exit code came";
  Installer reinstall(medium, "/S /D=" + target);
  EXPECT_FALSE(reinstall.WaitForExit(1500)) << "it waits for the finishing removal";
  CloseHandle(installedProgram);
  ASSERT_TRUE(reinstall.WaitForExit(kInstallWaitMs));
  EXPECT_EQ(reinstall.process().ExitCode(), 0u);
  EXPECT_TRUE(WaitUntil([] { return ProcessesNamed("uninstall.exe").empty(); }, 20000)) << "the removal ended";
  for (const char* name : {"uninstall.exe", "uninstall.inf", "lumora.exe"}) {
    EXPECT_TRUE(FileExists(target + "\\" + name)) << name;
  }
  Process secondRemoval(quiet, target + "\\uninstall.exe");
  ASSERT_TRUE(secondRemoval.WaitForExit(70000));
  EXPECT_EQ(secondRemoval.ExitCode(), 0u);
  // The program file and the emptied folders go a moment after.
  EXPECT_TRUE(WaitUntil([&] { return !FolderExists(parent); }, 10000));
  const MachineState after = CaptureMachineState();
  EXPECT_TRUE(before == after) << Difference(before, after);

  // A file that another program holds without delete sharing goes at the next restart,
  // after it the folders it keeps, and the quiet uninstall says a restart finishes the job;
  // everything else it lists goes now.
  Installer again(medium, "/S /D=" + target);
  ASSERT_TRUE(again.WaitForExit(kInstallWaitMs));
  HANDLE held = CreateFileW(Wide(target + "\\lumora.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  {
    Process restartNeeded(quiet, target + "\\uninstall.exe");
    ASSERT_TRUE(restartNeeded.WaitForExit(70000));
    EXPECT_EQ(restartNeeded.ExitCode(), 3010u);
  }
  CloseHandle(held);
  EXPECT_TRUE(FileExists(target + "\\lumora.exe"));
  EXPECT_FALSE(FileExists(target + "\\vigilo.exe") || FileExists(target + "\\lumora.chm"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kProductView));
  EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", kProductView).has_value());
  std::vector<std::string> scheduled;
  const auto at = [&scheduled](const std::string& path) {
    return std::find(scheduled.begin(), scheduled.end(), path) - scheduled.begin();
  };
  // The folders go last, a moment after the exit code.
  EXPECT_TRUE(WaitUntil(
      [&] {
        scheduled = DeletedAtRestart();
        return at(parent) < static_cast<long>(scheduled.size());
      },
      10000));
  EXPECT_LT(at(target + "\\lumora.exe"), at(target)) << "the file, then its folder";
  EXPECT_LT(at(target), at(parent)) << "then its parent";
  EXPECT_FALSE(FileExists(target + "\\uninstall.exe"));
  Restart();
  EXPECT_FALSE(FolderExists(parent)) << "the restart removed the rest";
  EXPECT_TRUE(DeletedAtRestart().empty());

  // What can be neither removed nor scheduled (the entry's key, which now holds a key of
  // another program's) stays, and the quiet uninstall says so.
  Installer third(medium, "/S /D=" + target);
  ASSERT_TRUE(third.WaitForExit(kInstallWaitMs));
  WriteString(HKEY_LOCAL_MACHINE, kUninstallKey + "\\Other", "x", "y", kProductView);
  Process inPart(quiet, target + "\\uninstall.exe");
  ASSERT_TRUE(inPart.WaitForExit(70000));
  EXPECT_EQ(inPart.ExitCode(), 8u);
  EXPECT_FALSE(FileExists(target + "\\lumora.exe"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kProductView));
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(target + "\\uninstall.exe"); }, 10000));
  RemoveTree(existing);

  // Into a folder that was there: it keeps its rules, and the log says when they let other
  // users add files beside the installed programs.
  for (const bool open : {false, true}) {
    const std::string folder = open ? "D:\\open" : "D:\\closed";
    MakeFolders(folder);
    if (open) OpenToEveryone(folder);
    const std::string diagnostic = TestFolder(open ? "open" : "closed") + "\\setup.log";
    Installer into(medium, "/S /LOG=" + diagnostic + " /D=" + folder);
    ASSERT_TRUE(into.WaitForExit(kInstallWaitMs));
    EXPECT_EQ(into.process().ExitCode(), 0u);
    const std::string line = "the install folder existed before and other users may add files to it: " + folder;
    EXPECT_EQ(ReadBytes(diagnostic).find(line) != std::string::npos, open) << folder;
    Process uninstalled("\"" + folder + "\\uninstall.exe\" /S");
    ASSERT_TRUE(uninstalled.WaitForExit(70000));
    EXPECT_TRUE(WaitUntil([&] { return !FileExists(folder + "\\uninstall.exe"); }, 10000));
    RemoveTree(folder);
  }
}

TEST_F(InstallTest, UnattendedFailureIsRolledBackAndTheDiagnosticLogNamesTheFile) {
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder("medium"));
  medium.SetManifest("lumora.exe\r\n誠意.dat\r\n");  // not on the medium
  const std::string diagnostic = TestFolder("log folder") + "\\setup.log";
  const std::string earlierRun = "an earlier run's log, longer than this one: " + std::string(100000, '.');
  WriteBytes(diagnostic, earlierRun);
  Installer installer(medium, "/LOG=\"" + diagnostic + "\" /S");
  EXPECT_FALSE(WindowSeenUntilExit(installer));
  EXPECT_EQ(installer.process().ExitCode(), 6u);
  const MachineState after = CaptureMachineState();
  EXPECT_TRUE(before == after) << Difference(before, after);
  const std::string log = ReadBytes(diagnostic);
  EXPECT_NE(log.find(u8"C:\\Program Files\\Morvessa\\Quendral\\誠意.dat不能复制，安装程序将终止。 (Windows error 2: "),
            std::string::npos)
      << "the failure in UTF-8 with the Windows error";
  EXPECT_NE(log.find("exit code 6"), std::string::npos);
  EXPECT_EQ(log.find("earlier run"), std::string::npos) << "the log is written anew";
  EXPECT_LT(log.size(), earlierRun.size());
}

TEST_F(InstallTest, UnattendedRefusalsChangeNothing) {
  Medium medium(TestFolder("medium"));
  const std::string target = TestFolder() + "\\never";
  {
    Installer installer(medium, "/S /X /D=" + target);
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 7u);
  }
  {
    TitledWindow product("Quendral", 0);
    ASSERT_TRUE(product.Shown());
    Installer installer(medium, "/S /D=" + target);
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 2u);
  }
  EXPECT_FALSE(FolderExists(target));
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
  if (std::getenv("QUENDRAL_SMALL_DRIVES") != nullptr) {  // F: has one cluster less than 16 MiB free
    const std::string diagnostic = TestFolder("log") + "\\setup.log";
    Installer installer(medium, "/S /LOG=" + diagnostic + " /D=F:\\Quendral");
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 5u);
    EXPECT_FALSE(FolderExists("F:\\Quendral")) << "nothing is created on a drive without room";
    EXPECT_NE(ReadBytes(diagnostic).find("exit code 5"), std::string::npos);
  }
  {
    // A folder GBK cannot name is refused, never created under another name.
    const std::wstring folder = Wide(TestFolder()) + L"\\\uD55C\uAD6D\U0001F600";
    Process installer(Wide("\"" + medium.Installer() + "\" /S /D=") + folder);
    ASSERT_TRUE(installer.WaitForExit());
    EXPECT_EQ(installer.ExitCode(), 7u);
    EXPECT_EQ(GetFileAttributesW(folder.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  // A person starting the wizard with a switch it does not know is told which.
  Installer installer(medium, "/D=relative");
  ExpectRefusal(installer, "无效的命令行参数：/D=relative", 7);
}

TEST_F(InstallTest, MediumFromTheBuilderInstallsAndUninstalls) {
  // Made by the builder from tests/e2e/builder-product before the suite runs.
  const std::string medium = std::getenv("QUENDRAL_BUILT_MEDIUM") ? std::getenv("QUENDRAL_BUILT_MEDIUM") : "";
  const std::string product = std::getenv("QUENDRAL_BUILDER_PRODUCT") ? std::getenv("QUENDRAL_BUILDER_PRODUCT") : "";
  ASSERT_FALSE(medium.empty() || product.empty()) << "run by scripts/run_tests.sh";
  Process install("\"" + medium + "\\install.exe\" /S");
  ASSERT_TRUE(install.WaitForExit(kInstallWaitMs));
  EXPECT_EQ(install.ExitCode(), 0u);
  // 誠 ends in the byte 0x5C; the word folder is one the installer creates.
  for (const char* name : {"誠.txt", "word\\词汇表.txt", "users\\说明.txt"}) {
    EXPECT_EQ(ReadBytes(kDefaultTarget + "\\" + name), ReadBytes(product + "\\" + name)) << name;
  }
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\brisel.ini"), "[main]\r\nadnote=来自生成器\r\n") << "written, never copied";
  // The medium's programs are signed (run_tests.sh signs it) and carry who made them; the
  // installed uninstaller is a byte copy of the signed one, and so is its temporary copy.
  const std::string signedUninstaller = ReadBytes(medium + "\\uninstall.exe");
  EXPECT_TRUE(HasSignature(medium + "\\install.exe") && HasSignature(medium + "\\uninstall.exe"));
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\uninstall.exe"), signedUninstaller);
  EXPECT_EQ(VersionText(medium + "\\install.exe", "FileDescription"), "Quendral1.3安装程序");
  EXPECT_EQ(VersionText(medium + "\\uninstall.exe", "FileDescription"), "Quendral删除程序");
  EXPECT_EQ(VersionText(medium + "\\install.exe", "CompanyName"), "Morvessa");
  EXPECT_EQ(VersionText(medium + "\\uninstall.exe", "ProductVersion"), "1.3");
  const std::string quiet =
      ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "QuietUninstallString", kProductView).value_or("");
  Process removal(quiet, kDefaultTarget + "\\uninstall.exe");
  ASSERT_TRUE(removal.WaitForExit(70000));
  EXPECT_EQ(removal.ExitCode(), 0u);
  EXPECT_TRUE(WaitUntil([] { return !FolderExists(kMorvessaFolder); }, 10000)) << "the settings file went too";
  ASSERT_FALSE(UninstallerCopies().empty());
  EXPECT_EQ(ReadBytes(UninstallerCopies().back()), signedUninstaller);
}

// The setup's file with a byte changed inside a product file that the payload stores as it
// is, so that only a hash tells. With `payloadHashRedone` the payload's own SHA-256 is made
// to match, and only that file's own hash in the table can.
std::string WithAProductByteChanged(const std::string& setup, bool payloadHashRedone) {
  std::string changed = setup;
  medium::PayloadHeader header;
  const std::optional<std::string_view> payload = medium::LocatePayload(setup, header);
  if (!payload) return changed;
  const std::size_t payloadStart = static_cast<std::size_t>(payload->data() - setup.data());
  medium::PayloadEntries entries(*payload);
  while (const std::optional<medium::PayloadEntry> entry = entries.Next()) {
    if (entry->name.rfind("data\\", 0) != 0 || entry->method != medium::PayloadMethod::kStored ||
        entry->storedBytes == 0) {
      continue;
    }
    changed[payloadStart + entry->storedOffset] ^= 0x01;
    if (payloadHashRedone) {
      const std::array<unsigned char, 32> digest = Sha256Of(changed.substr(payloadStart, payload->size()));
      changed.replace(payloadStart - digest.size(), digest.size(), reinterpret_cast<const char*>(digest.data()),
                      digest.size());
    }
    break;
  }
  EXPECT_NE(changed, setup) << "the download stores a product file as it is";
  return changed;
}

// The signed single-file setup the builder made of that medium, as a person downloads and
// runs it: the wizard of the medium's installer, then the registered uninstall command.
TEST_F(InstallTest, OneFileSetupRunsTheWizardAndLeavesNothingInTheTemporaryFolder) {
  const std::string setup = BuiltSetupFile();
  const std::string product = std::getenv("QUENDRAL_BUILDER_PRODUCT") ? std::getenv("QUENDRAL_BUILDER_PRODUCT") : "";
  ASSERT_FALSE(setup.empty() || product.empty()) << "run by scripts/run_tests.sh";
  EXPECT_TRUE(HasSignature(setup));
  EXPECT_EQ(VersionText(setup, "FileDescription"), "Quendral1.3安装程序");
  const std::vector<std::string> tempBefore = PrivateTempFolders();
  Installer installer(Installer::SetupFile{setup}, "");
  HWND finish = InstallToFinish(installer);
  ASSERT_NE(finish, nullptr);
  const std::vector<std::string> tempDuring = PrivateTempFolders();
  ASSERT_EQ(tempDuring.size(), tempBefore.size() + 1) << "the kit's files, while its installer runs";
  for (const std::string& folder : tempDuring) {
    if (std::find(tempBefore.begin(), tempBefore.end(), folder) != tempBefore.end()) continue;
    const std::map<std::string, long long> kit = ListTree(folder);
    for (const char* name : {"install.exe", "uninstall.exe", "install.inf", "License.txt", "install.ini"}) {
      EXPECT_EQ(kit.count(std::string("\\") + name), 1u) << name;
    }
    EXPECT_EQ(kit.count("\\data"), 0u) << "the product's files go from the download straight into place";
  }
  EXPECT_TRUE(installer.FinishWithoutProduct(finish)) << "the installer's exit code 0, passed on";
  EXPECT_EQ(PrivateTempFolders(), tempBefore);
  EXPECT_EQ(ReadBytes(kDefaultTarget + "\\word\\词汇表.txt"), ReadBytes(product + "\\word\\词汇表.txt"));
  const std::string uninstaller =
      ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", kProductView).value_or("");
  EXPECT_EQ(uninstaller, kDefaultTarget + "\\uninstall.exe");
  Process removal(uninstaller + " /S", uninstaller);
  ASSERT_TRUE(removal.WaitForExit(70000));
  EXPECT_EQ(removal.ExitCode(), 0u);
  EXPECT_TRUE(WaitUntil([] { return !FolderExists(kMorvessaFolder); }, 10000));
}

// A deployment system's command line reaches the installer unchanged and its exit code comes
// back; a damaged or cut-off download installs nothing and leaves nothing behind.
TEST_F(InstallTest, OneFileSetupPassesTheCommandLineOnAndRefusesADamagedFile) {
  const std::string setup = BuiltSetupFile();
  ASSERT_FALSE(setup.empty()) << "run by scripts/run_tests.sh";
  const std::string target = TestFolder() + "\\Quendral 下载";
  const std::string diagnostic = TestFolder("log") + "\\setup.log";
  {
    Installer installer(Installer::SetupFile{setup}, "/S /LOG=" + diagnostic + " /D=" + target);
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 0u);
    EXPECT_TRUE(FileExists(target + "\\uninstall.exe"));
    EXPECT_NE(ReadBytes(diagnostic).find("exit code 0"), std::string::npos);
    Process removal("\"" + target + "\\uninstall.exe\" /S");
    ASSERT_TRUE(removal.WaitForExit(70000));
    EXPECT_EQ(removal.ExitCode(), 0u);
  }
  // From here on no uninstaller leaves its copy's folder for the next restart.
  const std::vector<std::string> tempBefore = PrivateTempFolders();
  {
    TitledWindow product("Quendral", 0);
    ASSERT_TRUE(product.Shown());
    Installer installer(Installer::SetupFile{setup}, "/S");
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 2u);
  }
  {
    Installer installer(Installer::SetupFile{setup}, "/S /X");
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 7u);
  }
  const std::string whole = ReadBytes(setup);
  const std::string changed = WithAProductByteChanged(whole, false);
  const std::string damaged = TestFolder("download") + "\\changed.exe";
  const std::string cut = TestFolder("download") + "\\cut.exe";
  WriteBytes(damaged, changed);
  WriteBytes(cut, whole.substr(0, whole.size() * 3 / 4));
  {
    Installer installer(Installer::SetupFile{cut}, "/S");
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 9u);
  }
  // Refused before any page: the whole file's check, not the copy, finds the changed byte.
  Installer installer(Installer::SetupFile{damaged}, "");
  ExpectRefusal(installer, "安装文件已损坏或不完整，请重新下载后再安装。", 9);
  EXPECT_EQ(PrivateTempFolders(), tempBefore);
}

// A product file that is not what the download carried, though the download passes its
// check: the installer finds it as it writes the file, and the install is rolled back.
TEST_F(InstallTest, OneFileSetupWhoseProductFileIsNotWhatItCarriedRollsBack) {
  const std::string setup = BuiltSetupFile();
  ASSERT_FALSE(setup.empty()) << "run by scripts/run_tests.sh";
  const std::string changed = TestFolder("download") + "\\changed.exe";
  WriteBytes(changed, WithAProductByteChanged(ReadBytes(setup), true));
  const std::vector<std::string> tempBefore = PrivateTempFolders();
  const MachineState before = CaptureMachineState();
  {
    Installer installer(Installer::SetupFile{changed}, "/S");
    EXPECT_FALSE(WindowSeenUntilExit(installer));
    EXPECT_EQ(installer.process().ExitCode(), 9u);
    const MachineState after = CaptureMachineState();
    EXPECT_TRUE(before == after) << Difference(before, after);
  }
  Installer installer(Installer::SetupFile{changed}, "");
  ASSERT_TRUE(installer.StartCopy());
  ExpectFailureRolledBack(installer, "安装文件已损坏或不完整，请重新下载后再安装。", before, 9);
  EXPECT_EQ(PrivateTempFolders(), tempBefore);
}

// With the temporary folder on a drive smaller than the product, the download installs to
// another drive all the same: only the kit's own files pass through the temporary folder.
TEST_F(InstallTest, OneFileSetupInstallsAProductLargerThanTheTemporaryFoldersDrive) {
  if (std::getenv("QUENDRAL_SMALL_DRIVES") == nullptr) GTEST_SKIP() << "needs the small test drive E:";
  const char* large = std::getenv("QUENDRAL_LARGE_SETUP");
  ASSERT_NE(large, nullptr) << "run by scripts/run_tests.sh";
  const std::map<std::string, long long> smallDriveBefore = ListTree("E:\\");
  const std::string target = TestFolder() + "\\Quendral";
  const std::string temp = TempFolder();
  SetEnvironmentVariableW(L"TEMP", L"E:\\");
  SetEnvironmentVariableW(L"TMP", L"E:\\");
  Installer installer(Installer::SetupFile{large}, "/S /D=" + target);
  SetEnvironmentVariableW(L"TEMP", Wide(temp).c_str());
  SetEnvironmentVariableW(L"TMP", Wide(temp).c_str());
  ASSERT_TRUE(installer.WaitForExit(kInstallWaitMs));
  EXPECT_EQ(installer.process().ExitCode(), 0u);
  long long installed = 0;
  for (const auto& [name, size] : ListTree(target)) installed += std::max(size, 0LL);
  EXPECT_GT(installed, 16LL << 20) << "more than E: holds";
  EXPECT_EQ(ListTree("E:\\"), smallDriveBefore) << "the temporary folder as it was";
  Process removal("\"" + target + "\\uninstall.exe\" /S");
  EXPECT_TRUE(removal.WaitForExit(70000));
}

}  // namespace
}  // namespace e2e
