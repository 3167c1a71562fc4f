// The uninstaller: its first run from the install folder, its removal run from the
// temporary folder, and the finish page.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e_driver/kit.h"
#include "e2e_driver/screen.h"
#include "e2e_driver/machine_state.h"

namespace e2e {
namespace {

constexpr char kUninstallCaption[] = "Quendral删除程序";

// Ends the finish page with its Finish button and waits until it is gone.
bool PressFinish(HWND page) {
  Press(page, IDC_UNINSTALL_FINISH);
  return WaitFor([page]() -> HWND { return IsWindow(page) ? nullptr : page; }) != nullptr;
}

class UninstallTest : public KitTest {
 protected:
  // An install folder of the test's own: the uninstaller and a log.
  std::string MakeInstallFolder(const std::string& log) {
    const std::string folder = TestFolder("installed folder");
    CopyOrDie(KitDir() + "uninstall.exe", folder + "\\uninstall.exe");
    WriteBytes(folder + "\\uninstall.inf", log);
    return folder;
  }
};

// From a medium whose every file is read-only, as on a CD, twice in a row, each time with
// something named uninstall.exe in the temporary folder, where the copy ran once: a
// folder, then a file that another program holds. Neither changes anything: the copy
// runs from a new private folder.
TEST_F(UninstallTest, InstallThenUninstallLeavesTheMachineAsItWas) {
  const std::string planted = TempFolder() + "uninstall.exe";
  RemoveTree(planted);
  DeleteFileW(Wide(planted).c_str());
  const MachineState before = CaptureMachineState();
  Medium medium(TestFolder("medium"));
  medium.MakeReadOnly();
  // Under Wine, as on Windows, a read-only file refuses to be deleted until the attribute
  // is cleared.
  const std::string scratch = TestFolder("scratch") + "\\read-only.txt";
  WriteBytes(scratch, "x");
  SetFileAttributesW(Wide(scratch).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(DeleteFileW(Wide(scratch).c_str()));
  SetFileAttributesW(Wide(scratch).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(DeleteFileW(Wide(scratch).c_str()));
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    HANDLE held = INVALID_HANDLE_VALUE;
    if (round == 1) {
      MakeFolders(planted);
    } else {
      WriteBytes(planted, "MZ planted by another user");
      held = CreateFileW(Wide(planted).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    const std::vector<std::string> copiesBefore = UninstallerCopies();
    {
      Installer installer(medium);
      ASSERT_TRUE(installer.StartCopy());
      HWND finish = installer.WaitForPage(Page::kFinish, 60000);
      ASSERT_NE(finish, nullptr);
      ASSERT_TRUE(installer.FinishWithoutProduct(finish));  // the review monitor, which the uninstaller must close
    }
    ASSERT_TRUE(WaitFor([] { return FindTitled("Quendral复习自动检查"); }));
    ASSERT_TRUE(FileExists(kDefaultTarget + "\\uninstall.exe"));
    EXPECT_FALSE(AnyFileReadOnly(kDefaultTarget)) << "the copies are the kit's own, not the CD's";
    // Registered where the line's 32-bit kits look, and only there.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo").has_value());
    EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", kProductView).has_value());

    // As Windows' list of programs starts it: the registered value, unquoted with its
    // blanks, as both the application name and the command line.
    const std::string registered =
        ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", kProductView).value_or("");
    ASSERT_EQ(registered, kDefaultTarget + "\\uninstall.exe");
    Process firstRun(registered, registered);
    const MessageBoxSeen question = WaitForMessageBox(firstRun.Id());
    EXPECT_EQ(question.text, "是否要完全删除Quendral应用程序及其所有组件？");
    EXPECT_EQ(question.caption, "确认文件删除");
    EXPECT_EQ(question.owner, nullptr);
    EXPECT_TRUE(question.hasYesNo);
    Press(question.window, IDYES);
    EXPECT_TRUE(firstRun.WaitForExit());
    HWND finish = WaitForUninstallFinishPage(70000);
    ASSERT_NE(finish, nullptr);
    if (round == 1) ExpectPaintedTextsReadable(finish, {"删除程序完成删除", "删除程序已完成在计算机中删除Quendral。"});
    EXPECT_TRUE(PressFinish(finish));

    EXPECT_FALSE(FindTitled("Quendral复习自动检查")) << "the review monitor was asked to close";
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_EQ(round == 1 ? FolderExists(planted) : ReadBytes(planted) == "MZ planted by another user", true)
        << "what was planted is as it was";
    RemoveTree(planted);
    DeleteFileW(Wide(planted).c_str());
    const MachineState after = CaptureMachineState();
    EXPECT_TRUE(before == after) << Difference(before, after);
    EXPECT_FALSE(FolderExists(kMorvessaFolder));

    // The copy's folder: new, named at random, open to SYSTEM, the administrators and the
    // user alone, and like the copy deleted when Windows next starts.
    const std::vector<std::string> copies = UninstallerCopies();
    ASSERT_EQ(copies.size(), copiesBefore.size() + 1);
    const std::string copy = copies.back();
    const std::string folder = copy.substr(0, copy.size() - std::string("\\uninstall.exe").size());
    const std::string name = folder.substr(TempFolder().size());
    EXPECT_EQ(name.size(), std::string("Quendral-").size() + 32) << name;
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef", 9), std::string::npos) << name;
    EXPECT_TRUE(FileExists(copy)) << "the copy stays until the restart";
    EXPECT_EQ(GetFileAttributesW(Wide(copy).c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << "the restart can delete it";
    const std::vector<std::string> users = AllowedUsers(folder);
    EXPECT_NE(std::find(users.begin(), users.end(), "S-1-5-18"), users.end()) << "SYSTEM";
    EXPECT_EQ(std::find(users.begin(), users.end(), "S-1-1-0"), users.end()) << "not everyone";
    const std::vector<std::string> plain = AllowedUsers(TestFolder("plain"));
    EXPECT_NE(std::find(plain.begin(), plain.end(), "S-1-1-0"), plain.end()) << "a plain folder lets everyone read";
  }
}

TEST_F(UninstallTest, NoEndsTheFirstRunWithNothingTouched) {
  const std::vector<std::string> copiesBefore = UninstallerCopies();
  const std::string folder = MakeInstallFolder("");
  WriteBytes(folder + "\\lumora.exe", "product");
  Process firstRun("\"" + folder + "\\uninstall.exe\"");
  const MessageBoxSeen question = WaitForMessageBox(firstRun.Id());
  Press(question.window, IDNO);
  EXPECT_TRUE(firstRun.WaitForExit());
  EXPECT_TRUE(FileExists(folder + "\\uninstall.inf"));
  EXPECT_TRUE(FileExists(folder + "\\uninstall.exe"));
  EXPECT_EQ(UninstallerCopies(), copiesBefore);
}

TEST_F(UninstallTest, RunningProductIsReportedAfterTheQuestion) {
  const std::vector<std::string> copiesBefore = UninstallerCopies();
  TitledWindow product("Quendral", 0);
  const std::string folder = MakeInstallFolder("");
  Process firstRun("\"" + folder + "\\uninstall.exe\"");
  const MessageBoxSeen question = WaitForMessageBox(firstRun.Id());
  EXPECT_EQ(question.caption, "确认文件删除") << "the question comes first";
  Press(question.window, IDYES);
  MessageBoxSeen refusal = WaitFor([&]() -> HWND {
    const MessageBoxSeen box = WaitForMessageBox(firstRun.Id(), 100);
    return box.window != question.window ? box.window : nullptr;
  })
                               ? WaitForMessageBox(firstRun.Id())
                               : MessageBoxSeen{};
  EXPECT_EQ(refusal.text, "请您先停止运行Quendral，然后再删除");
  EXPECT_EQ(refusal.caption, kUninstallCaption);
  EXPECT_TRUE(refusal.hasOk);
  Press(refusal.window, IDOK);
  EXPECT_TRUE(firstRun.WaitForExit());
  EXPECT_TRUE(FileExists(folder + "\\uninstall.inf"));
  EXPECT_EQ(UninstallerCopies(), copiesBefore);
}

TEST_F(UninstallTest, ReviewMonitorClosingOnTheFifthRequestLetsTheFirstRunGoOn) {
  TitledWindow monitor("Quendral复习自动检查", 5);
  const std::string folder = MakeInstallFolder("");
  Process firstRun("\"" + folder + "\\uninstall.exe\"");
  Press(WaitForMessageBox(firstRun.Id()).window, IDYES);
  ASSERT_TRUE(monitor.WaitUntilGone());
  const ULONGLONG gone = GetTickCount64();
  EXPECT_TRUE(firstRun.WaitForExit());
  // The remaining 25 requests would take another 2.5 s.
  EXPECT_LT(GetTickCount64() - gone, 2000u) << "the first run goes on as soon as the window is gone";
  HWND finish = WaitForUninstallFinishPage(70000);
  ASSERT_NE(finish, nullptr);
  EXPECT_EQ(monitor.Finish(), 5) << "no request after the window is gone";
  EXPECT_TRUE(PressFinish(finish));
  EXPECT_FALSE(FileExists(folder + "\\uninstall.inf"));
  EXPECT_FALSE(FileExists(folder + "\\uninstall.exe"));
}

TEST_F(UninstallTest, ReviewMonitorThatNeverClosesIsReportedAfterThirtyRequests) {
  TitledWindow monitor("Quendral复习自动检查", 0);
  const std::string folder = MakeInstallFolder("");
  Process firstRun("\"" + folder + "\\uninstall.exe\"");
  const MessageBoxSeen question = WaitForMessageBox(firstRun.Id());
  Press(question.window, IDYES);
  ASSERT_TRUE(WaitFor([&]() -> HWND { return IsWindow(question.window) ? nullptr : question.window; }));
  const MessageBoxSeen refusal = WaitForMessageBox(firstRun.Id());
  EXPECT_EQ(refusal.text, "请您先停止运行Quendral复习自动检查，然后再删除");
  EXPECT_EQ(refusal.caption, kUninstallCaption);
  EXPECT_EQ(refusal.owner, nullptr);
  Press(refusal.window, IDOK);
  EXPECT_TRUE(firstRun.WaitForExit());
  EXPECT_EQ(monitor.Finish(), 30);
  EXPECT_TRUE(FileExists(folder + "\\uninstall.inf"));
}

TEST_F(UninstallTest, RemovalRunWithAMissingLogShowsOnlyTheFinishPage) {
  const std::string folder = MakeInstallFolder("");
  DeleteFileW(Wide(folder + "\\uninstall.inf").c_str());
  Process removal("\"" + KitDir() + "uninstall.exe\" " + folder + "\\uninstall.inf");
  HWND finish = WaitForUninstallFinishPage();
  ASSERT_NE(finish, nullptr);
  EXPECT_TRUE(FileExists(folder + "\\uninstall.exe")) << "nothing is deleted without a log";
  EXPECT_TRUE(PressFinish(finish));
  EXPECT_TRUE(removal.WaitForExit());
}

TEST_F(UninstallTest, EmptyLogDeletesTheLogAndTheProgramFile) {
  const std::string folder = MakeInstallFolder("");
  Process removal("\"" + KitDir() + "uninstall.exe\" " + folder + "\\uninstall.inf");
  HWND finish = WaitForUninstallFinishPage();
  ASSERT_NE(finish, nullptr);
  EXPECT_FALSE(FileExists(folder + "\\uninstall.inf"));
  EXPECT_FALSE(FileExists(folder + "\\uninstall.exe"));
  EXPECT_TRUE(PressFinish(finish));
}

TEST_F(UninstallTest, RemovalRunCarriesOutEveryKindOfRecord) {
  const std::string base = "Software\\Morvessa-Test";
  const std::string folder = TestFolder("records");
  const std::string f = folder;
  WriteBytes(f + "\\a.txt", "a");
  WriteBytes(f + "\\last.txt", "kept: its line has no CR LF");
  MakeFolders(f + "\\parent\\child");
  MakeFolders(f + "\\empty");
  WriteString(HKEY_CURRENT_USER, base + "\\cu", "v", "1");
  WriteString(HKEY_LOCAL_MACHINE, base + "\\cu", "v", "1", kProductView);
  WriteString(HKEY_LOCAL_MACHINE, base + "\\lm", "name,with,commas", "1", kProductView);
  WriteString(HKEY_LOCAL_MACHINE, base + "\\lm", "name", "1", kProductView);
  WriteString(HKEY_LOCAL_MACHINE, base + "\\nocomma", "v", "1", kProductView);
  WriteString(HKEY_LOCAL_MACHINE, base + "\\users", "v", "1", kProductView);
  const std::string log = f + "\\a.txt\r\n\r\n" + "HKEY_CU," + base + "\\cu\r\n" + "HKEY_LOCAL_MACHINE," + base +
                          "\\lm,name,with,commas\r\n" + base + "\\nocomma\r\n" + "HKEY_USERS," + base + "\\users\r\n" +
                          "\r\n" + f + "\\parent\r\n" + f + "\\parent\\child\r\n" + f + "\\empty\r\n" + f +
                          "\\last.txt";
  const std::string installed = MakeInstallFolder(log);
  Process removal("\"" + KitDir() + "uninstall.exe\" " + installed + "\\uninstall.inf");
  HWND finish = WaitForUninstallFinishPage();
  ASSERT_NE(finish, nullptr);
  EXPECT_FALSE(FileExists(f + "\\a.txt"));
  EXPECT_TRUE(FileExists(f + "\\last.txt"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\cu")) << "HKEY_CU selects HKEY_CURRENT_USER";
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, base + "\\cu", kProductView));
  EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, base + "\\lm", "name,with,commas", kProductView).has_value());
  EXPECT_TRUE(ReadString(HKEY_LOCAL_MACHINE, base + "\\lm", "name", kProductView).has_value());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, base + "\\nocomma", kProductView));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, base + "\\users", kProductView))
      << "HKEY_USERS selects HKEY_LOCAL_MACHINE";
  EXPECT_TRUE(FolderExists(f + "\\parent")) << "a parent listed before its child stays";
  EXPECT_FALSE(FolderExists(f + "\\parent\\child"));
  EXPECT_FALSE(FolderExists(f + "\\empty"));
  EXPECT_TRUE(PressFinish(finish));
  DeleteKeyTree(HKEY_CURRENT_USER, base);
  DeleteKeyTree(HKEY_LOCAL_MACHINE, base, kProductView);
}

TEST_F(UninstallTest, EmptyRegistrySectionStillLeavesTheFoldersAsSectionTwo) {
  const std::string folder = TestFolder("stopped");
  WriteBytes(folder + "\\b.txt", "b");
  MakeFolders(folder + "\\users");
  const std::string installed = MakeInstallFolder(folder + "\\b.txt\r\n\r\n\r\n" + folder + "\\users\r\n");
  Process removal("\"" + KitDir() + "uninstall.exe\" " + installed + "\\uninstall.inf");
  HWND finish = WaitForUninstallFinishPage();
  ASSERT_NE(finish, nullptr);
  EXPECT_FALSE(FileExists(folder + "\\b.txt"));
  EXPECT_FALSE(FolderExists(folder + "\\users"));
  EXPECT_TRUE(PressFinish(finish));
}

TEST_F(UninstallTest, RemovalWaitsWhileTheInstalledProgramIsStillHeld) {
  const std::string folder = MakeInstallFolder("");
  const std::string program = folder + "\\uninstall.exe";
  HANDLE held = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Process removal("\"" + KitDir() + "uninstall.exe\" " + folder + "\\uninstall.inf");
  Sleep(1500);
  EXPECT_EQ(FindWindowW(L"#32770", Wide("删除向导").c_str()), nullptr) << "still retrying the program file";
  EXPECT_TRUE(FileExists(program));
  EXPECT_TRUE(FileExists(folder + "\\uninstall.inf")) << "the log goes after the program";
  CloseHandle(held);
  HWND finish = WaitForUninstallFinishPage();
  ASSERT_NE(finish, nullptr);
  EXPECT_FALSE(FileExists(program));
  EXPECT_FALSE(FileExists(folder + "\\uninstall.inf"));
  EXPECT_TRUE(PressFinish(finish));
}

// Ended from outside part-way, as by a forced log-off or a deployment system's time-out:
// the same quiet command again finishes the removal.
TEST_F(UninstallTest, QuietRemovalEndedPartWayIsFinishedByTheSameCommand) {
  const std::string folder = TestFolder("installed folder");
  const std::string first = folder + "\\first.txt";
  const std::string last = folder + "\\last.txt";
  std::string log = first + "\r\n";
  for (int i = 0; i < 20000; ++i) log += folder + "\\missing" + std::to_string(i) + "\r\n";
  log += last + "\r\n\r\nHKEY_LOCAL_MACHINE,Software\\Morvessa-Test\r\n\r\n" + folder + "\r\n";
  const std::string uninstaller = MakeInstallFolder(log) + "\\uninstall.exe";
  WriteBytes(first, "1");
  WriteBytes(last, "2");
  WriteString(HKEY_LOCAL_MACHINE, "Software\\Morvessa-Test", "v", "1", kProductView);
  const std::string quiet = "\"" + uninstaller + "\" /S";
  {
    Process removal(quiet, uninstaller);
    ASSERT_TRUE(WaitUntil([&] { return !FileExists(first); }));
    EXPECT_GE(EndProcessesNamed("uninstall.exe"), 1);
  }
  ASSERT_TRUE(FileExists(last)) << "the removal was ended part-way";
  EXPECT_TRUE(FileExists(folder + "\\uninstall.inf")) << "the log stays until its work is done";
  // Run again by a user whose temporary folder GBK cannot name (a Korean user name): the
  // uninstaller only hands that path back to Windows.
  const std::wstring koreanTemp = Wide(TestFolder("temp")) + L"\\\uD55C\uAD6D";
  CreateDirectoryW(koreanTemp.c_str(), nullptr);
  wchar_t usualTemp[MAX_PATH] = L"";
  GetEnvironmentVariableW(L"TMP", usualTemp, MAX_PATH);
  SetEnvironmentVariableW(L"TMP", koreanTemp.c_str());
  Process again(quiet, uninstaller);
  SetEnvironmentVariableW(L"TMP", usualTemp);
  ASSERT_TRUE(again.WaitForExit(70000));
  EXPECT_EQ(again.ExitCode(), 0u);
  // It ran from a private folder there, which goes with it at the next restart.
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((koreanTemp + L"\\Quendral-*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  const std::wstring copy = koreanTemp + L"\\" + found.cFileName + L"\\uninstall.exe";
  EXPECT_NE(GetFileAttributesW(copy.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(WaitUntil([&] { return ProcessesNamed("uninstall.exe").empty(); }, 10000));
  EXPECT_TRUE(Restart());
  EXPECT_TRUE(RemoveDirectoryW(koreanTemp.c_str())) << "empty after the restart";
  EXPECT_FALSE(FileExists(last));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Morvessa-Test", kProductView));
  EXPECT_TRUE(WaitUntil([&] { return !FolderExists(folder); }, 10000));
}

TEST_F(UninstallTest, FinishPageClosesOnlyByFinishOrTheCloseBox) {
  for (bool useCloseBox : {false, true}) {
    Process removal("\"" + KitDir() + "uninstall.exe\" C:\\no such folder\\uninstall.inf");
    HWND finish = WaitForUninstallFinishPage();
    ASSERT_NE(finish, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(finish, IDC_UNINSTALL_BACK)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(finish, IDCANCEL)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(finish, IDC_UNINSTALL_FINISH)));
    RECT frame{};
    GetWindowRect(finish, &frame);
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    PostMessageA(finish, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(finish, WM_COMMAND, IDOK, 0);
    PostMessageA(finish, WM_COMMAND, IDCANCEL, 0);
    Sleep(500);
    EXPECT_TRUE(IsWindow(finish)) << "Escape, IDOK and IDCANCEL leave the page open";
    if (useCloseBox) {
      PostMessageA(finish, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      Press(finish, IDC_UNINSTALL_FINISH);
    }
    EXPECT_TRUE(removal.WaitForExit(5000));
  }
}

}  // namespace
}  // namespace e2e
