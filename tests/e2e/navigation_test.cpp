// Moving through the wizard: Back, Next and the cancel question.
#include <gtest/gtest.h>

#include "e2e_driver/kit.h"

namespace e2e {
namespace {

constexpr char kStopQuestion[] = "您真的想停止安装吗?";

class NavigationTest : public KitTest {};

TEST_F(NavigationTest, EscapeOnTheLicencePageAsksAndNoKeepsThePage) {
  Medium medium(TestFolder());
  Installer installer(medium);
  HWND licence = installer.WalkTo(Page::kLicence);
  ASSERT_NE(licence, nullptr);
  PostMessageA(licence, WM_KEYDOWN, VK_ESCAPE, 0);
  MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, kStopQuestion);
  EXPECT_EQ(box.caption, kWizardCaption);
  EXPECT_EQ(box.owner, licence) << "the question belongs to the page";
  Press(box.window, IDNO);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxOpen(installer.process().Id()) ? nullptr : licence; }));
  EXPECT_TRUE(IsWindow(licence));
  EXPECT_EQ(installer.WaitForPage(Page::kLicence), licence);

  Press(licence, IDCANCEL);  // "否(&N)"
  box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, kStopQuestion);
  Press(box.window, IDYES);
  EXPECT_TRUE(installer.WaitForExit());
  EXPECT_FALSE(FolderExists(kMorvessaFolder)) << "a cancelled wizard removes the default folders";
}

TEST_F(NavigationTest, BackAndNextMoveBetweenThePages) {
  Medium medium(TestFolder());
  Installer installer(medium);
  HWND summary = installer.WalkTo(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  Press(summary, IDC_BACK);
  HWND destination = installer.WaitForPage(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  Press(destination, IDC_BACK);
  HWND licence = installer.WaitForPage(Page::kLicence);
  ASSERT_NE(licence, nullptr);
  Press(licence, IDC_BACK);
  HWND welcome = installer.WaitForPage(Page::kWelcome);
  ASSERT_NE(welcome, nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(welcome, IDC_BACK))) << "the welcome page has no way back";
  Press(welcome, IDC_NEXT);
  EXPECT_NE(installer.WaitForPage(Page::kLicence), nullptr);
}

TEST_F(NavigationTest, EveryPageCarriesTheInstallerCaptionAndItsButtons) {
  Medium medium(TestFolder());
  Installer installer(medium);
  struct Expected {
    Page page;
    const char* back;
    const char* next;
    const char* cancel;
  };
  const Expected pages[] = {{Page::kWelcome, "< 上一步(&B)", "下一步(&N) >", "取消"},
                            {Page::kLicence, "< 上一步(&B)", "是(&Y) >", "否(&N)"},
                            {Page::kDestination, "< 上一步(&B)", "下一步(&N) >", "取消(&C)"},
                            {Page::kSummary, "< 上一步(&B)", "下一步(&N) >", "取消(&C)"}};
  for (const Expected& expected : pages) {
    // Found by its controls, so that the caption is checked, not assumed.
    HWND page = installer.WaitForPage(expected.page, kDefaultWaitMs, PageByControls);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(WindowText(page), kWizardCaption);
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_BACK)), expected.back);
    EXPECT_EQ(WindowText(GetDlgItem(page, IDC_NEXT)), expected.next);
    EXPECT_EQ(WindowText(GetDlgItem(page, IDCANCEL)), expected.cancel);
    EXPECT_TRUE(GetWindowLongA(page, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(page, GW_OWNER), nullptr);
    Press(page, IDC_NEXT);
  }
}

// Install and removal without a mouse: Enter, Tab, Space, Esc and the buttons' Alt+letter
// keys, typed into whichever window has the focus.
TEST_F(NavigationTest, InstallAndRemovalFromTheKeyboardAlone) {
  Medium medium(TestFolder());
  Installer installer(medium);
  HWND welcome = installer.WaitForPage(Page::kWelcome);
  ASSERT_NE(welcome, nullptr);
  ASSERT_TRUE(TypeKeys(welcome, {{VK_RETURN}}));  // Next has the focus
  HWND licence = installer.WaitForPage(Page::kLicence);
  ASSERT_NE(licence, nullptr);
  ASSERT_TRUE(TypeKeys(licence, {{VK_ESCAPE}}));
  MessageBoxSeen box = installer.WaitForMessageBox();
  EXPECT_EQ(box.text, kStopQuestion) << "Esc asks as the page's cancel button does";
  ASSERT_TRUE(TypeKeys(box.window, {{'N', true}}));
  ASSERT_TRUE(WaitFor([&] { return MessageBoxOpen(installer.process().Id()) ? nullptr : licence; }));
  ASSERT_TRUE(TypeKeys(licence, {{'Y', true}}));  // 是(&Y) >
  HWND destination = installer.WaitForPage(Page::kDestination);
  ASSERT_NE(destination, nullptr);
  ASSERT_TRUE(TypeKeys(destination, {{'R', true}}));  // 浏览(&R)...
  HWND browser = WaitFor([&] {
    for (HWND window : TopLevelWindows(installer.process().Id())) {
      if (window != destination && ClassName(window) == "#32770" && !IsMessageBox(window)) return window;
    }
    return static_cast<HWND>(nullptr);
  });
  ASSERT_NE(browser, nullptr) << "the folder browser";
  ASSERT_TRUE(TypeKeys(browser, {{VK_ESCAPE}}));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
  EXPECT_EQ(WindowText(GetDlgItem(destination, IDC_FOLDER_TEXT)), kDefaultTarget);
  ASSERT_TRUE(TypeKeys(destination, {{VK_RETURN}}));
  HWND summary = installer.WaitForPage(Page::kSummary);
  ASSERT_NE(summary, nullptr);
  ASSERT_TRUE(TypeKeys(summary, {{'N', true}}));  // 下一步(&N) >
  HWND finish = installer.WaitForPage(Page::kFinish, 60000);
  ASSERT_NE(finish, nullptr);
  // From Finish, Tab reaches the product's box first; Space clears it.
  ASSERT_TRUE(TypeKeys(finish, {{VK_TAB}, {VK_SPACE}}));
  EXPECT_EQ(CheckState(GetDlgItem(finish, IDC_LAUNCH_BOX)), BST_UNCHECKED);
  ASSERT_TRUE(TypeKeys(finish, {{'F', true}}));  // 完成(&F)
  ASSERT_TRUE(installer.WaitForExit());
  EXPECT_EQ(installer.process().ExitCode(), 0u);

  const std::string uninstaller = kDefaultTarget + "\\uninstall.exe";
  Process firstRun(uninstaller, uninstaller);
  box = WaitForMessageBox(firstRun.Id());
  ASSERT_NE(box.window, nullptr);
  ASSERT_TRUE(TypeKeys(box.window, {{'Y', true}}));
  HWND removed = WaitForUninstallFinishPage(70000);
  ASSERT_NE(removed, nullptr);
  ASSERT_TRUE(TypeKeys(removed, {{VK_ESCAPE}}));
  Sleep(300);
  EXPECT_TRUE(IsWindow(removed)) << "Esc leaves the uninstaller's finish page open";
  ASSERT_TRUE(TypeKeys(removed, {{'F', true}}));  // 完成(&F)
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(removed); }));
  EXPECT_FALSE(FolderExists(kMorvessaFolder));
}

}  // namespace
}  // namespace e2e
