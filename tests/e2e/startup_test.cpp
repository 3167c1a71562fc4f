// Installer start-up: the running product, the review monitor, earlier versions, the
// default folder and the installer's own folder.
#include <gtest/gtest.h>

#include "e2e_driver/kit.h"

namespace e2e {
namespace {

constexpr char kEarlierVersionQuestion[] =
    "安装程序已检测到您的系统中已安装了Quendral，\r\n如果您要安装，将删除以前版本，您要继续吗？";

class StartupTest : public KitTest {};

TEST_F(StartupTest, WineRunsWithTheChineseCodePage) {
  EXPECT_EQ(GetACP(), 936u);
  const std::string folder = TestFolder("誠意");
  WriteBytes(folder + "\\文件.txt", "x");
  EXPECT_TRUE(FileExists(folder + "\\文件.txt"));
}

TEST_F(StartupTest, RunningProductStopsTheInstallerBeforeAnythingIsCreated) {
  TitledWindow product("Quendral", 0);
  ASSERT_TRUE(product.Shown());
  Medium medium(TestFolder());
  Installer installer(medium);
  const MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, "请您先停止运行Quendral，然后再安装Quendral1.3版。");
  EXPECT_EQ(box.caption, kWizardCaption);
  EXPECT_EQ(box.owner, nullptr) << "start-up boxes have no owner";
  EXPECT_TRUE(box.hasOk);
  EXPECT_FALSE(box.hasYesNo);
  Press(box.window, IDOK);
  EXPECT_TRUE(installer.WaitForExit());
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
  EXPECT_EQ(product.Finish(), 0) << "the product is never asked to close";
}

TEST_F(StartupTest, WindowTitleDifferingByOneCharacterIsNotTheProduct) {
  TitledWindow other("Quendrai", 0);
  ASSERT_TRUE(other.Shown());
  Medium medium(TestFolder());
  Installer installer(medium);
  EXPECT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
}

TEST_F(StartupTest, ReviewMonitorClosingOnTheThirdRequestLetsStartUpGoOn) {
  TitledWindow monitor("Quendral复习自动检查", 3);
  ASSERT_TRUE(monitor.Shown());
  Medium medium(TestFolder());
  Installer installer(medium);
  ASSERT_TRUE(monitor.WaitUntilGone());
  const ULONGLONG gone = GetTickCount64();
  EXPECT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
  // The remaining 27 requests would take another 2.7 s.
  EXPECT_LT(GetTickCount64() - gone, 2000u) << "start-up goes on as soon as the window is gone";
  EXPECT_EQ(monitor.Finish(), 3) << "no request after the window is gone";
}

TEST_F(StartupTest, ReviewMonitorThatNeverClosesStopsStartUpAfterThirtyRequests) {
  TitledWindow monitor("Quendral复习自动检查", 0);
  ASSERT_TRUE(monitor.Shown());
  Medium medium(TestFolder());
  Installer installer(medium);
  const MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, "请您先停止运行Quendral复习自动检查，然后再安装");
  EXPECT_EQ(box.caption, kWizardCaption);
  EXPECT_EQ(box.owner, nullptr) << "start-up boxes have no owner";
  EXPECT_TRUE(box.hasOk);
  Press(box.window, IDOK);
  EXPECT_TRUE(installer.WaitForExit());
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
  EXPECT_EQ(monitor.Finish(), 30);
}

// An earlier install as its log and registry entry describe it, registered in `view`
// (0: the 64-bit view; kProductView: the 32-bit view of the line's 32-bit kits).
struct EarlierInstall {
  std::string folder;
  std::string marker;  // a registry key the old log names, with one value
  REGSAM view;
  EarlierInstall(const std::string& dir, const std::string& version, bool withLog = true, REGSAM inView = 0)
      : folder(dir), view(inView) {
    marker = "Software\\Morvessa-Test\\" + version;
    MakeFolders(folder + "\\word\\sub");
    WriteBytes(folder + "\\lumora.exe", "old program");
    WriteBytes(folder + "\\uninstall.exe", "old uninstaller");
    WriteString(HKEY_LOCAL_MACHINE, marker, "Keep", "1", view);
    WriteString(HKEY_LOCAL_MACHINE, marker + "\\Gone", "Doomed", "1", view);
    WriteString(HKEY_LOCAL_MACHINE, marker, "Val,with,commas", "1", view);
    // Under both roots: the installer takes only the whole name "HKEY_CURRENT_USER" for
    // that root, so "HKEY_CU" names the HKEY_LOCAL_MACHINE key.
    WriteString(HKEY_LOCAL_MACHINE, marker + "\\Abbreviated", "v", "1", view);
    WriteString(HKEY_CURRENT_USER, marker + "\\Abbreviated", "v", "1");
    WriteString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", folder + "\\vigilo.exe", view);
    if (withLog) {
      WriteBytes(folder + "\\uninstall.inf", folder + "\\lumora.exe\r\n\r\n" + "HKEY_LOCAL_MACHINE," + marker +
                                                 "\\Gone\r\n" + "HKEY_LOCAL_MACHINE," + marker +
                                                 ",Val,with,commas\r\n" + "HKEY_CU," + marker + "\\Abbreviated\r\n" +
                                                 "HKEY_LOCAL_MACHINE," + kRunKey + ",Lumora vigilo\r\n\r\n" + folder +
                                                 "\\word\\sub\r\n" + folder + "\\word\r\n" + folder + "\r\n");
    }
    Register(version, folder + "\\uninstall.exe", view);
  }
  static void Register(const std::string& version, const std::string& command, REGSAM view = 0) {
    WriteString(HKEY_LOCAL_MACHINE, kUninstallKeyPrefix + version, "UninstallString", command, view);
  }
  bool Untouched() const {
    return FileExists(folder + "\\lumora.exe") && FileExists(folder + "\\uninstall.exe") &&
           KeyExists(HKEY_LOCAL_MACHINE, marker + "\\Gone", view);
  }
  ~EarlierInstall() {
    for (REGSAM each : {REGSAM{0}, kProductView}) DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\Morvessa-Test", each);
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Morvessa-Test");
  }
};

TEST_F(StartupTest, YesReplaysTheEarlierVersionsLogInTheViewWhereItIsRegistered) {
  for (REGSAM view : {kProductView, REGSAM{0}}) {
    SCOPED_TRACE(view == kProductView ? "32-bit view" : "64-bit view");
    CleanMachine();
    const REGSAM otherView = view == kProductView ? 0 : kProductView;
    WriteString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", "other view", otherView);
    EarlierInstall old(TestFolder(view == kProductView ? "old32" : "old64"), "1.2", true, view);
    // Installed from its CD by the old kit: read-only.
    for (const char* name : {"\\lumora.exe", "\\uninstall.exe", "\\uninstall.inf"}) {
      SetFileAttributesW(Wide(old.folder + name).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    Medium medium(TestFolder(view == kProductView ? "medium32" : "medium64"));
    Installer installer(medium);
    const MessageBoxSeen box = installer.WaitForMessageBox();
    EXPECT_EQ(box.text, kEarlierVersionQuestion);
    EXPECT_EQ(box.caption, kWizardCaption);
    EXPECT_EQ(box.owner, nullptr) << "start-up boxes have no owner";
    EXPECT_EQ(box.owner, nullptr) << "start-up boxes have no owner";
    ASSERT_TRUE(box.hasYesNo) << (installer.WaitForPage(Page::kWelcome, 0) != nullptr ? "the welcome page came instead"
                                                                                      : "no page either");
    Press(box.window, IDYES);
    ASSERT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
    EXPECT_FALSE(FileExists(old.folder + "\\lumora.exe"));
    EXPECT_FALSE(FileExists(old.folder + "\\uninstall.exe"));
    EXPECT_FALSE(FileExists(old.folder + "\\uninstall.inf"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, old.marker + "\\Gone", view));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, old.marker, "Val,with,commas", view).has_value());
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, old.marker, "Keep", view).has_value());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, old.marker + "\\Abbreviated", view))
        << "HKEY_CU is not HKEY_CURRENT_USER";
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, old.marker + "\\Abbreviated"));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", view).has_value());
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", otherView), "other view");
    EXPECT_FALSE(FolderExists(old.folder)) << "folders removed children first";
    Press(installer.WaitForPage(Page::kWelcome), IDCANCEL);
    EXPECT_TRUE(installer.WaitForExit());
  }
}

TEST_F(StartupTest, NoEndsTheInstallerWithNothingChanged) {
  EarlierInstall old(TestFolder("old"), "1.3");
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  const MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, kEarlierVersionQuestion);
  Press(box.window, IDNO);
  EXPECT_TRUE(installer.WaitForExit());
  EXPECT_TRUE(old.Untouched());
  EXPECT_TRUE(FileExists(old.folder + "\\uninstall.inf"));
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
}

TEST_F(StartupTest, NewestRegisteredVersionIsTheOnlyOneConsidered) {
  // Version by version, each in both views: a 1.0 in the 32-bit view still comes after 1.2.
  EarlierInstall newer(TestFolder("v12"), "1.2");
  EarlierInstall older(TestFolder("v10"), "1.0", true, kProductView);
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  Press(installer.WaitForMessageBox().window, IDYES);
  ASSERT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
  EXPECT_FALSE(FileExists(newer.folder + "\\lumora.exe"));
  EXPECT_TRUE(older.Untouched());
}

TEST_F(StartupTest, UnreadableUninstallStringEndsTheSearchWithoutAQuestion) {
  EarlierInstall older(TestFolder("v10"), "1.0");
  WriteString(HKEY_LOCAL_MACHINE, kUninstallKeyPrefix + "1.1", "DisplayName", "Quendral1.1");
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  EXPECT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
  EXPECT_FALSE(MessageBoxOpen(installer.process().Id()));
  EXPECT_TRUE(older.Untouched());
}

TEST_F(StartupTest, UninstallStringTooLongForItsBufferIsUnreadable) {
  EarlierInstall::Register("1.3", "C:\\" + std::string(600, 'x') + "\\uninstall.exe");
  Medium medium(TestFolder());
  Installer installer(medium);
  EXPECT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
  EXPECT_FALSE(MessageBoxOpen(installer.process().Id()));
}

TEST_F(StartupTest, UninstallStringWithoutTheProgramNameAsksButRemovesNothing) {
  EarlierInstall old(TestFolder("old"), "1.3");
  EarlierInstall::Register("1.3", old.folder + "\\remove.exe");
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  const MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, kEarlierVersionQuestion);
  Press(box.window, IDYES);
  EXPECT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
  EXPECT_TRUE(old.Untouched());
}

TEST_F(StartupTest, EarlierVersionWithoutLogLosesOnlyItsUninstaller) {
  EarlierInstall old(TestFolder("old"), "1.1", /*withLog=*/false);
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  Press(installer.WaitForMessageBox().window, IDYES);
  ASSERT_NE(installer.WaitForPage(Page::kWelcome), nullptr);
  EXPECT_FALSE(FileExists(old.folder + "\\uninstall.exe"));
  EXPECT_TRUE(FileExists(old.folder + "\\lumora.exe"));
}

TEST_F(StartupTest, CancelOnTheWelcomePageRemovesTheDefaultFoldersWithoutAQuestion) {
  Medium medium(TestFolder());
  Installer installer(medium);
  HWND welcome = installer.WaitForPage(Page::kWelcome);
  ASSERT_NE(welcome, nullptr);
  EXPECT_TRUE(FolderExists(kDefaultTarget));
  Press(welcome, IDCANCEL);
  EXPECT_TRUE(installer.WaitForExit());
  EXPECT_EQ(installer.process().ExitCode(), 1u) << "cancelled by the user";
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
}

TEST_F(StartupTest, CancelKeepsAParentFolderThatExistedBefore) {
  MakeFolders(kMorvessaFolder);
  Medium medium(TestFolder());
  Installer installer(medium);
  HWND welcome = installer.WaitForPage(Page::kWelcome);
  ASSERT_NE(welcome, nullptr);
  Press(welcome, IDCANCEL);
  EXPECT_TRUE(installer.WaitForExit());
  EXPECT_TRUE(FolderExists(kMorvessaFolder));
  EXPECT_FALSE(FolderExists(kDefaultTarget));
}

TEST_F(StartupTest, InstallerFolderWithATrailByte5CStillFindsItsFiles) {
  // 誠 is D5 5C in GBK: its trail byte is a backslash byte.
  Medium medium(TestFolder("誠"));
  ASSERT_EQ(medium.Dir().substr(medium.Dir().size() - 3), "\xD5\x5C\\");
  WriteBytes(medium.Dir() + "License.txt", "誠实守信\r\n第二行");
  Installer installer(medium);
  HWND licence = installer.WalkTo(Page::kLicence);
  ASSERT_NE(licence, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(licence, IDC_TEXT_BOX)), "誠实守信\r\n第二行");
}

}  // namespace
}  // namespace e2e
