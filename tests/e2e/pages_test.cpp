// The pages as a user sees them: licence text, choosing the folder, free space, the
// finish page's actions and the painting of the pages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "sample/standin_window.h"
#include "e2e_driver/folder_browser.h"
#include "e2e_driver/held_worker.h"
#include "e2e_driver/kit.h"
#include "e2e_driver/screen.h"

namespace e2e {
namespace {

constexpr char kNoRoom[] = "磁盘有效空间不够,将不能安装。请您重新选择安装路径。";

// The page's client area as the screen shows it (the frame is Wine's, in the system's
// font), for run_tests.sh to compare between code pages; kept only when QUENDRAL_PICTURES
// names a folder.
void KeepPicture(HWND page, const char* name) {
  const char* folder = std::getenv("QUENDRAL_PICTURES");
  if (folder == nullptr) return;
  const ClientSnapshot shot(page);
  const std::vector<DWORD>& pixels = shot.Pixels();
  WriteBytes(std::string(folder) + "\\" + name + ".pixels",
             std::string(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof(DWORD)));
}

class PagesTest : public KitTest {
 protected:
  static std::string FolderText(HWND destination) { return WindowText(GetDlgItem(destination, IDC_FOLDER_TEXT)); }
  static bool SmallDrives() { return std::getenv("QUENDRAL_SMALL_DRIVES") != nullptr; }
};

TEST_F(PagesTest, LicenceBoxShowsLicenseTxtExactlyOrNothing) {
  const std::string text = "第一条\r\n" + std::string(3000, 'x') + "\r\n最后一行";
  const struct {
    const char* name;
    bool present;
    std::string bytes;
    std::string shown;
  } cases[] = {{"full", true, text, text},
               {"empty", true, "", ""},
               {"missing", false, "", ""},
               {"with-zero-byte", true, std::string("before\0after", 12), "before"}};
  for (const auto& c : cases) {
    Medium medium(TestFolder(c.name));
    if (c.present) {
      WriteBytes(medium.Dir() + "License.txt", c.bytes);
    } else {
      DeleteFileW(Wide(medium.Dir() + "License.txt").c_str());
    }
    Installer installer(medium);
    HWND licence = installer.WalkTo(Page::kLicence);
    ASSERT_NE(licence, nullptr) << c.name;
    EXPECT_EQ(WindowText(GetDlgItem(licence, IDC_TEXT_BOX)), c.shown) << c.name;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(licence, IDC_NEXT))) << "accepting is possible: " << c.name;
  }
}

TEST_F(PagesTest, ChosenFolderIsKeptAcrossBackAndShownOnTheSummary) {
  const std::string first = TestFolder("first");
  const std::string second = TestFolder("second");
  const std::string testName = TestFolderName();
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  HWND destination = installer.WalkTo(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  EXPECT_EQ(FolderText(destination), kDefaultTarget);
  ASSERT_TRUE(BrowseTo(installer.process().Id(), destination, {"我的电脑", " (C:)", "kit-tests", testName, "first"}));
  EXPECT_EQ(FolderText(destination), first);
  Press(destination, IDC_NEXT);
  HWND summary = installer.WaitForPage(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(summary, IDC_TEXT_BOX)), "安装目录：" + first);
  EXPECT_FALSE(FolderExists(kMorvessaFolder)) << "default folders off the chosen path are removed";

  Press(summary, IDC_BACK);
  destination = installer.WaitForPage(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  EXPECT_EQ(FolderText(destination), first) << "Back shows the last choice";
  ASSERT_TRUE(BrowseTo(installer.process().Id(), destination, {"我的电脑", " (C:)", "kit-tests", testName, "second"}));
  Press(destination, IDC_NEXT);
  summary = installer.WaitForPage(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(summary, IDC_TEXT_BOX)), "安装目录：" + second);
}

TEST_F(PagesTest, DriveRootOnAnotherDriveIsKeptWithItsBackslash) {
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  HWND destination = installer.WalkTo(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  ASSERT_TRUE(BrowseTo(installer.process().Id(), destination, {"我的电脑", " (D:)"}));
  EXPECT_EQ(FolderText(destination), "D:\\");
  Press(destination, IDC_NEXT);
  HWND summary = installer.WaitForPage(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(summary, IDC_TEXT_BOX)), "安装目录：D:\\");
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
}

TEST_F(PagesTest, InstallIntoADriveRootUsesItWithoutTheBackslash) {
  Medium medium(TestFolder("medium"));
  medium.SetManifest("lumora.exe\r\n");
  Installer installer(medium);
  HWND destination = installer.WalkTo(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  ASSERT_TRUE(BrowseTo(installer.process().Id(), destination, {"我的电脑", " (D:)"}));
  Press(destination, IDC_NEXT);
  HWND summary = installer.WaitForPage(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  Press(summary, IDC_NEXT);
  ASSERT_NE(installer.WaitForPage(Page::kFinish, 60000), nullptr);
  const std::string log = ReadBytes("D:\\uninstall.inf");
  EXPECT_EQ(log.rfind("D:\\lumora.exe\r\nD:\\fendow.pah\r\n", 0), 0u) << log;
  EXPECT_NE(log.find("\r\nD:\\users\r\nD:\\mp3\r\n"), std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 9), "D:\\word\r\n") << "no record for the drive itself";
  EXPECT_TRUE(FileExists("D:\\lumora.exe"));
  // Leave D: empty for the next test.
  Press(installer.WaitForPage(Page::kFinish), IDC_NEXT);
  installer.WaitForExit();
  for (const auto& [path, size] : ListTree("D:", 1)) RemoveTree("D:" + path), DeleteFileW(Wide("D:" + path).c_str());
}

TEST_F(PagesTest, FreeSpaceLimitIsExactly16MiB) {
  if (!SmallDrives()) GTEST_SKIP() << "needs the small test drives E: and F:";
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  HWND destination = installer.WalkTo(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  ASSERT_TRUE(BrowseTo(installer.process().Id(), destination, {"我的电脑", " (F:)"}));
  Press(destination, IDC_NEXT);
  const MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, kNoRoom);
  EXPECT_EQ(box.caption, kWizardCaption);
  EXPECT_EQ(box.owner, destination);
  EXPECT_TRUE(box.hasOk);
  Press(box.window, IDOK);
  ASSERT_TRUE(WaitFor([&]() -> HWND { return MessageBoxOpen(installer.process().Id()) ? nullptr : destination; }));
  EXPECT_EQ(installer.WaitForPage(Page::kDestination), destination) << "the page stays";
  EXPECT_TRUE(FolderExists(kDefaultTarget)) << "nothing else changes";

  ASSERT_TRUE(BrowseTo(installer.process().Id(), destination, {"我的电脑", " (E:)"}));
  Press(destination, IDC_NEXT);
  EXPECT_NE(installer.WaitForPage(Page::kSummary), nullptr) << "exactly 16 MiB is enough";
}

TEST_F(PagesTest, NonFileSystemItemIsRefused) {
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  HWND destination = installer.WalkTo(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  Press(destination, IDC_BROWSE);
  HWND browser = WaitForFolderBrowser(installer.process().Id());
  ASSERT_NE(browser, nullptr);
  ASSERT_TRUE(SelectInFolderBrowser(browser, installer.process().Id(), {"我的电脑"}));
  Press(browser, IDOK);
  const MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, "目录路径非法。");
  EXPECT_EQ(box.caption, kWizardCaption);
  EXPECT_EQ(box.owner, destination);
  Press(box.window, IDOK);
  ASSERT_TRUE(WaitFor([&]() -> HWND { return MessageBoxOpen(installer.process().Id()) ? nullptr : destination; }));
  EXPECT_EQ(FolderText(destination), kDefaultTarget);
}

class FinishActionTest : public PagesTest {
 protected:
  void SetUp() override {
    PagesTest::SetUp();
    startLog_ = TestFolder("log") + "\\started.txt";
    // In the registry: the desktop's shell starts the programs with its own environment.
    WriteString(HKEY_CURRENT_USER, Gbk(sample::kStartLogKey), Gbk(sample::kStartLogValue).c_str(), startLog_);
    // The help file opens with a stand-in that notes it, as a help viewer would open it.
    helpClass_ = ReadString(HKEY_CLASSES_ROOT, ".chm", nullptr);
    WriteString(HKEY_CLASSES_ROOT, ".chm", nullptr, "QuendralTestHelp");
    WriteString(HKEY_CLASSES_ROOT, "QuendralTestHelp\\shell\\open\\command", nullptr,
                "\"" + HelperDir() + "titled_window.exe\" open %1");
  }
  void TearDown() override {
    DeleteKeyTree(HKEY_CURRENT_USER, Gbk(sample::kStartLogKey));
    if (helpClass_) {
      WriteString(HKEY_CLASSES_ROOT, ".chm", nullptr, *helpClass_);
    } else {
      DeleteKeyTree(HKEY_CLASSES_ROOT, ".chm");
    }
    DeleteKeyTree(HKEY_CLASSES_ROOT, "QuendralTestHelp");
    PagesTest::TearDown();
  }
  // Installs the sample medium, sets the two boxes and presses Finish; answers the start log.
  std::string FinishWith(bool launch, bool help, size_t expectedStarts) {
    Medium medium(TestFolder("medium"));
    Installer installer(medium);
    const bool started = installer.StartCopy();
    EXPECT_TRUE(started);
    if (!started) return {};
    HWND finish = installer.WaitForPage(Page::kFinish, 60000);
    EXPECT_NE(finish, nullptr);
    if (finish == nullptr) return {};
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(finish, IDC_BACK)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(finish, IDCANCEL)));
    EXPECT_EQ(CheckState(GetDlgItem(finish, IDC_LAUNCH_BOX)), BST_CHECKED);
    EXPECT_EQ(CheckState(GetDlgItem(finish, IDC_HELP_BOX)), BST_UNCHECKED);
    SetCheck(GetDlgItem(finish, IDC_LAUNCH_BOX), launch);
    SetCheck(GetDlgItem(finish, IDC_HELP_BOX), help);
    Press(finish, IDC_NEXT);
    EXPECT_TRUE(installer.WaitForExit());
    WaitFor([&]() -> HWND {
      const std::string log = ReadBytes(startLog_);
      return static_cast<size_t>(std::count(log.begin(), log.end(), '\n')) >= expectedStarts ? HWND(1) : nullptr;
    });
    Sleep(300);  // nothing more may start
    return ReadBytes(startLog_);
  }
  std::string startLog_;
  std::optional<std::string> helpClass_;
};

// Started by the desktop's shell, so with the user's rights rather than the elevated
// installer's: their parent is Explorer.
TEST_F(FinishActionTest, DefaultStartsTheReviewMonitorThenTheProductAsTheDesktopUser) {
  EXPECT_EQ(FinishWith(true, false, 2), "vigilo.exe\r\nlumora.exe\r\n");
  EXPECT_NE(FindTitled("Quendral"), nullptr);
  EXPECT_NE(FindTitled("Quendral复习自动检查"), nullptr);
  const std::vector<ListedProcess> processes = ListProcesses();
  const auto parentName = [&](const char* program) {
    for (const ListedProcess& child : processes) {
      if (lstrcmpiA(child.name.c_str(), program) != 0) continue;
      for (const ListedProcess& parent : processes) {
        if (parent.id == child.parent) return parent.name;
      }
    }
    return std::string("(none)");
  };
  for (const char* program : {"vigilo.exe", "lumora.exe"}) {
    EXPECT_EQ(parentName(program), "explorer.exe") << program;
  }
}

TEST_F(FinishActionTest, BothBoxesClearedStartsOnlyTheReviewMonitor) {
  EXPECT_EQ(FinishWith(false, false, 1), "vigilo.exe\r\n");
  EXPECT_EQ(FindTitled("Quendral"), nullptr);
}

// Its close box (or Esc) starts nothing, and the completed install ends with its exit code.
TEST_F(FinishActionTest, TheCloseBoxEndsACompletedInstallWithExitCode0AndStartsNothing) {
  Medium medium(TestFolder("medium"));
  Installer installer(medium);
  ASSERT_TRUE(installer.StartCopy());
  HWND finish = installer.WaitForPage(Page::kFinish, 60000);
  ASSERT_NE(finish, nullptr);
  PostMessageW(finish, WM_CLOSE, 0, 0);
  ASSERT_TRUE(installer.WaitForExit());
  EXPECT_EQ(installer.process().ExitCode(), 0u) << "the install is complete";
  Sleep(300);  // nothing may start
  EXPECT_EQ(ReadBytes(startLog_), "");
  EXPECT_TRUE(FileExists(kDefaultTarget + "\\uninstall.exe") && FileExists(kDefaultTarget + "\\uninstall.inf"));
}

TEST_F(FinishActionTest, HelpIsOpenedLast) {
  EXPECT_EQ(FinishWith(true, true, 3), "vigilo.exe\r\nlumora.exe\r\nopen " + kDefaultTarget + "\\lumora.chm\r\n");
}

// The decorations, read off the screen at the coordinates the pages paint them.
TEST_F(PagesTest, PagesPaintTheirBandsAndBanners) {
  const COLORREF white = RGB(255, 255, 255);
  Medium medium(TestFolder(), true, Programs::kHeld);
  // Forty files more, so that a moment of the worker's run stays far from the bar's end.
  std::string manifest = ReadBytes(medium.Dir() + "install.inf");
  for (int i = 0; i < 40; ++i) {
    const std::string name = "part" + std::to_string(i) + ".dat";
    medium.AddDataFile(name, std::string(4096, 'x'));
    manifest += "\r\n" + name;
  }
  medium.SetManifest(manifest);
  Installer installer(medium);
  HWND welcome = installer.WaitForPage(Page::kWelcome);
  ASSERT_NE(welcome, nullptr);
  Sleep(300);
  KeepPicture(welcome, "welcome");
  {
    const ClientSnapshot shot(welcome);
    const int w = shot.Width();
    EXPECT_EQ(shot.Pixel(w - 40, 279), white) << "white area to y = 280";
    EXPECT_NE(shot.Pixel(w - 40, 285), white) << "dialog background below it";
    EXPECT_EQ(shot.Pixel(w / 2, 281), RGB(128, 128, 128));
    EXPECT_EQ(shot.Pixel(w / 2, 282), white);
    EXPECT_NE(shot.Pixel(w - 5, 281), RGB(128, 128, 128)) << "the line ends before W - 5";
    EXPECT_NE(shot.Pixel(40, 100), white) << "the banner picture";
    EXPECT_TRUE(shot.AnyPixelOtherThan({200, 25, w - 30, 40}, white)) << "the title";
    EXPECT_TRUE(shot.AnyPixelOtherThan({200, 80, w - 30, 200}, white)) << "the body";
  }
  ExpectPaintedTextsReadable(
      welcome, {"欢迎使用Quendral1.3安装向导", "安装向导将在计算机中安装Quendral。若要继续，请单击“下一步”。"});
  Press(welcome, IDC_NEXT);
  HWND licence = installer.WaitForPage(Page::kLicence);
  ASSERT_NE(licence, nullptr);
  Sleep(300);
  {
    const ClientSnapshot shot(licence);
    const int w = shot.Width();
    EXPECT_EQ(shot.Pixel(w - 100, 59), white) << "white band to y = 60";
    EXPECT_EQ(shot.Pixel(w / 2, 60), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(w / 2, 61), white);
    EXPECT_NE(shot.Pixel(w / 2, 65), white);
    // Left of the licence box, which covers the middle of the lower line.
    EXPECT_EQ(shot.Pixel(8, 270), RGB(128, 128, 128));
    EXPECT_EQ(shot.Pixel(8, 271), white);
    EXPECT_TRUE(shot.AnyPixelOtherThan({20, 5, 200, 20}, white)) << "the title";
    EXPECT_TRUE(shot.AnyPixelOtherThan({30, 25, 200, 40}, white)) << "the subtitle";
    EXPECT_TRUE(shot.AnyPixelOtherThan({w - 60, 10, w - 28, 42}, white)) << "the icon";
  }
  KeepPicture(licence, "licence");
  ExpectPaintedTextsReadable(licence, {"软件使用许可协议", "请仔细阅读本软件使用许可协议"});
  HWND destination = installer.WalkTo(Page::kDestination, Page::kLicence);
  ASSERT_NE(destination, nullptr);
  Sleep(300);
  KeepPicture(destination, "destination");
  ExpectPaintedTextsReadable(destination, {"选择目的地位置", "选择安装程序安装文件的文件夹。"});

  // The progress page, read from the screen at two moments of the copy with the worker
  // held: the bar's filled width follows its position, and the status line shows each file.
  HWND summary = installer.WalkTo(Page::kSummary, Page::kDestination);
  ASSERT_NE(summary, nullptr);
  Sleep(300);
  KeepPicture(summary, "summary");
  ExpectPaintedTextsReadable(summary, {"开始复制文件", "复制文件前请查看设置。"});
  HeldWorker worker(installer.process().Id());
  Press(summary, IDC_NEXT);
  ASSERT_TRUE(worker.Catch(kDefaultWaitMs));
  HWND progress = installer.WaitForPage(Page::kProgress);
  ASSERT_NE(progress, nullptr);
  HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
  HWND status = GetDlgItem(progress, IDC_STATUS_TEXT);
  std::vector<DWORD> statusPixels[2];
  std::string shownBefore = WindowText(status);  // the template's text until the first file
  for (int moment = 0; moment < 2; ++moment) {
    // On until the bar has moved and the status line names another file.
    ASSERT_TRUE(WaitUntil([&] {
      const std::string shown = WindowText(status);
      return (ProgressPosition(progress) > 0 && !shown.empty() && shown != shownBefore) || !worker.Step();
    }));
    shownBefore = WindowText(status);
    const int position = ProgressPosition(progress);
    const int maximum = ProgressMaximum(progress);  // the range is set by now
    ASSERT_LT(position, maximum) << "the worker was held before the end";
    Sleep(300);  // far more than the page's repaint interval
    const ClientSnapshot shot(bar);
    const int middle = shot.Height() / 2;
    const COLORREF empty = shot.Pixel(shot.Width() - 3, middle);
    int filled = 0;
    for (int x = 0; x < shot.Width() - 3; ++x) {
      if (shot.Pixel(x, middle) != empty) filled = x + 1;
    }
    EXPECT_NEAR(static_cast<double>(filled) / shot.Width(), static_cast<double>(position) / maximum, 0.08)
        << "position " << position << " of " << maximum;
    statusPixels[moment] = ClientSnapshot(status).Pixels();
    // A screen reader hears the file being copied. (Wine's accessibility layer gives the
    // bar no value; Windows' own gives its percentage.)
    EXPECT_EQ(AccessibleNameOf(status), WindowText(status));
    if (moment == 0) KeepPicture(progress, "progress");
  }
  ExpectPaintedTextsReadable(progress, {"开始安装"});
  EXPECT_NE(statusPixels[0], statusPixels[1]) << "the status line shows the later file";
  worker.Release();
  HWND finish = installer.WaitForPage(Page::kFinish);
  ASSERT_NE(finish, nullptr);
  Sleep(300);
  KeepPicture(finish, "finish");
  ExpectPaintedTextsReadable(finish, {"安装程序完成安装", "安装向导已完成在计算机中安装Quendral。"});
  EXPECT_TRUE(installer.FinishWithoutProduct(finish));
}

// What a page shows at one display scale, and where: in client coordinates.
struct PageSeen {
  explicit PageSeen(HWND page) : shot(page) {
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!IsWindowVisible(child)) continue;
      RECT place{};
      GetWindowRect(child, &place);
      MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
      const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
      if (ClassName(child) == "Static" && type == SS_OWNERDRAW) {
        texts.push_back(place);
      } else if (ClassName(child) == "Static" && type == SS_BITMAP) {
        banner = place;
      } else {
        InflateRect(&place, 3, 3);  // with the controls' own edges
        controls.push_back(place);
      }
    }
  }
  // The row of the etched line above the buttons, read at a column 8 pixels of 96 DPI in
  // from the left, beside every control.
  int Separator(double scaleX) const {
    return shot.FirstRowIn(static_cast<int>(8 * scaleX + 0.5), RGB(128, 128, 128));
  }
  ClientSnapshot shot;
  std::vector<RECT> texts;  // the children that expose the painted texts
  RECT banner{};            // the banner picture; empty on inner pages
  std::vector<RECT> controls;
};

// The display's DPI while it lives: programs started meanwhile draw at it.
class DisplayDpi {
 public:
  explicit DisplayDpi(DWORD dpi) { WriteDword(HKEY_CURRENT_USER, kDesktop, kLogPixels, dpi); }
  ~DisplayDpi() { DeleteValue(HKEY_CURRENT_USER, kDesktop, kLogPixels); }
  DisplayDpi(const DisplayDpi&) = delete;
  DisplayDpi& operator=(const DisplayDpi&) = delete;

 private:
  static constexpr char kDesktop[] = "Control Panel\\Desktop";
  static constexpr char kLogPixels[] = "LogPixels";
};

class DisplayScaleTest : public PagesTest {
 protected:
  // Every installer page that stays on screen, then the uninstaller's finish page.
  std::vector<PageSeen> SeeEveryPage() {
    std::vector<PageSeen> seen;
    const auto see = [&](HWND page) {
      Sleep(300);
      seen.emplace_back(page);
    };
    Medium medium(TestFolder("medium"));
    Installer installer(medium);
    for (Page page : {Page::kWelcome, Page::kLicence, Page::kDestination, Page::kSummary}) {
      HWND shown = installer.WaitForPage(page);
      if (shown == nullptr) return {};
      see(shown);
      Press(shown, IDC_NEXT);
    }
    HWND finish = installer.WaitForPage(Page::kFinish, 60000);
    if (finish == nullptr) return {};
    see(finish);
    EXPECT_TRUE(installer.FinishWithoutProduct(finish));
    // A removal run without a log shows the finish page alone.
    Process removal("\"" + KitDir() + "uninstall.exe\" " + TestFolder("no log") + "\\uninstall.inf");
    HWND removed = WaitForUninstallFinishPage();
    if (removed == nullptr) return {};
    see(removed);
    Press(removed, IDC_UNINSTALL_FINISH);
    EXPECT_TRUE(removal.WaitForExit());
    CleanMachine();
    return seen;
  }
};

void ExpectScaled(const RECT& large, const RECT& at96, double scaleX, double scaleY, const char* what) {
  EXPECT_NEAR(large.left, at96.left * scaleX, 1.0) << what;
  EXPECT_NEAR(large.top, at96.top * scaleY, 1.0) << what;
  EXPECT_NEAR(large.right, at96.right * scaleX, 1.0) << what;
  EXPECT_NEAR(large.bottom, at96.bottom * scaleY, 1.0) << what;
}

// At 144 DPI (150 %) every page is the 96-DPI page drawn larger, by the page's own scale:
// its size against the 96-DPI page's, which follows the dialog font Windows puts in.
TEST_F(DisplayScaleTest, At144DpiEveryPageIsThe96DpiPageDrawnLarger) {
  const std::vector<PageSeen> at96 = SeeEveryPage();
  std::vector<PageSeen> at144;
  {
    const DisplayDpi dpi(144);
    at144 = SeeEveryPage();
  }
  ASSERT_EQ(at96.size(), 6u);
  ASSERT_EQ(at144.size(), at96.size());
  for (std::size_t i = 0; i < at96.size(); ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1));
    const PageSeen& seen96 = at96[i];
    const PageSeen& seen144 = at144[i];
    const double scaleX = static_cast<double>(seen144.shot.Width()) / seen96.shot.Width();
    const double scaleY = static_cast<double>(seen144.shot.Height()) / seen96.shot.Height();
    ASSERT_GT(scaleX, 1.3);
    ASSERT_GT(scaleY, 1.3);
    ASSERT_EQ(seen144.texts.size(), seen96.texts.size());
    for (std::size_t text = 0; text < seen96.texts.size(); ++text) {
      ExpectScaled(seen144.texts[text], seen96.texts[text], scaleX, scaleY, "an exposed text");
    }
    ExpectScaled(seen144.banner, seen96.banner, scaleX, scaleY, "the banner");
    const int separator = seen96.Separator(1.0);
    ASSERT_GT(separator, 0);
    EXPECT_NEAR(seen144.Separator(scaleX), separator * scaleY, 1.0);
    // Shrunk back, what the page paints from the top down to that line is the 96-DPI
    // painting but at the glyphs' edges (the texts are in the DPI's fonts) and in the icon:
    // 3 to 6 % of the pixels differ, 11 to 47 % when painted in 96-DPI pixels.
    EXPECT_LT(ShareDiffering(seen144.shot.ShrunkTo(seen96.shot.Width(), seen96.shot.Height()), seen96.shot.Pixels(),
                             seen96.shot.Width(), {0, 0, seen96.shot.Width(), separator}, seen96.controls, 8),
              0.08);
  }
}

}  // namespace
}  // namespace e2e
