// The setup kit as the end-to-end tests drive it: media, the running installer and its
// pages, and the clean machine state every test starts from.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e_driver/files.h"
#include "e2e_driver/process.h"
#include "e2e_driver/registry.h"

#include "resources/install_ids.h"
#include "resources/uninstall_ids.h"

namespace e2e {

// The built sample medium (install.exe, uninstall.exe, install.inf, data\ ...), with a
// trailing backslash. Named by QUENDRAL_KIT_DIR.
std::string KitDir();
// A medium whose programs are a test build with the hold point (QUENDRAL_HELD_KIT), and
// the crash proof's medium (QUENDRAL_CRASH_MEDIUM); empty when not named.
std::string HeldKitDir();
std::string CrashMediumDir();
// The folder of the test program, where the test helper programs lie.
std::string HelperDir();

inline const std::string kDefaultTarget = "C:\\Program Files\\Morvessa\\Quendral";
inline const std::string kMorvessaFolder = "C:\\Program Files\\Morvessa";
inline const std::string kWizardCaption = "Quendral1.3安装程序";
inline const std::string kUninstallKeyPrefix = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quendral";
inline const std::string kUninstallKey = kUninstallKeyPrefix + "1.3";
// The Uninstall keys of versions 1.0 to 1.3, which start-up searches.
std::vector<std::string> VersionKeys();
inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\run";
std::string ShellFolder(HKEY root, const char* value);  // from the Shell Folders key

// Which build of the programs a medium holds: the shipped one, or a test build that a
// HeldWorker can hold.
enum class Programs { kShipped, kHeld };

// A distribution medium that a test lays out in a folder of its own.
class Medium {
 public:
  // The programs (install.exe, uninstall.exe) and, when `sample` is true, the sample
  // manifest, licence, install.ini and data files.
  Medium(const std::string& folder, bool sample = true, Programs programs = Programs::kShipped);
  const std::string& Dir() const { return dir_; }  // with a trailing backslash
  std::string Installer() const { return dir_ + "install.exe"; }
  void SetManifest(const std::string& bytes) { WriteBytes(dir_ + "install.inf", bytes); }
  void AddDataFile(const std::string& name, const std::string& bytes);
  // Every file read-only, as on a CD.
  void MakeReadOnly() const;

 private:
  std::string dir_;
};

enum class Page { kWelcome, kLicence, kDestination, kSummary, kProgress, kFinish, kUnknown };
// The wizard page a window is: a dialog with the installer's caption and a page's controls.
Page PageOf(HWND window);
// The same by the controls alone, whatever the caption.
Page PageByControls(HWND window);

// The uninstaller's copies made so far, oldest first: each in a private folder of the
// temporary folder, and found as Windows' list of what it deletes at the next restart
// names them.
std::vector<std::string> UninstallerCopies();

// Whether any file under `root` is read-only.
bool AnyFileReadOnly(const std::string& root);

// A running install.exe.
class Installer {
 public:
  explicit Installer(const Medium& medium) : Installer(medium.Installer()) {}
  explicit Installer(const std::string& program) : process_("\"" + program + "\"") {}
  // With a command line after the program's name, as a deployment system starts it.
  Installer(const Medium& medium, const std::string& arguments)
      : process_("\"" + medium.Installer() + "\" " + arguments) {}
  // The single-file setup, with a command line: its wizard and message boxes are those of
  // the installer it starts, found by the wizard's caption.
  struct SetupFile {
    std::string path;
  };
  Installer(const SetupFile& setup, const std::string& arguments)
      : process_("\"" + setup.path + "\" " + arguments), throughSetup_(true) {}
  Process& process() { return process_; }
  // Its windows on screen: the process's own, or a setup's and its installer's.
  std::vector<HWND> Windows() const;
  // The page once it is shown (null when it did not come in time); `classify` tells what
  // page a window is.
  HWND WaitForPage(Page page, DWORD timeoutMs = kDefaultWaitMs, Page (*classify)(HWND) = PageOf);
  MessageBoxSeen WaitForMessageBox(DWORD timeoutMs = kDefaultWaitMs) {
    return e2e::WaitForMessageBox(throughSetup_ ? 0 : process_.Id(), timeoutMs);
  }
  // Presses Next on each page from `from` (the welcome page unless told) to `page`, which
  // it answers.
  HWND WalkTo(Page page, Page from = Page::kWelcome);
  // Walks to the summary page and presses Next there: the copy starts. False when the
  // summary page did not come.
  bool StartCopy();
  // StartCopy, then the progress page once it is shown (null when either did not come).
  HWND StartCopyOnProgressPage() { return StartCopy() ? WaitForPage(Page::kProgress) : nullptr; }
  bool WaitForExit(DWORD timeoutMs = kDefaultWaitMs) { return process_.WaitForExit(timeoutMs); }
  // On the finish page: clears the product's box (a running product would keep the
  // uninstaller from running), presses Finish, which starts the review monitor, and
  // waits for the installer to end; true when it ended with exit code 0 (installed).
  bool FinishWithoutProduct(HWND finishPage);

 private:
  Process process_;
  bool throughSetup_ = false;
};

// The single-file setup the builder made of its medium (QUENDRAL_BUILT_SETUP).
std::string BuiltSetupFile();
// The setup's folders in the temporary folder ("Quendral-" and a random name): the
// uninstaller's copies, and while a setup runs, its medium.
std::vector<std::string> PrivateTempFolders();

// Every test starts from a machine without the product and cleans up after itself.
class KitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A folder of this test's own under C:\kit-tests, created empty.
  std::string TestFolder(const std::string& name = "");
  // The name of that folder inside C:\kit-tests (as the folder browser lists it).
  static std::string TestFolderName();
  static void CleanMachine();

 private:
  std::string ownFolder_;
};

}  // namespace e2e

namespace e2e {

// A window of the test helper with the product's title, which it loses on the k-th close
// request (0: never); the window stays and counts any later request.
class TitledWindow {
 public:
  TitledWindow(const std::string& title, int closeOnRequest);
  bool Shown() const { return window_ != nullptr; }
  // Waits until no window has the title any more; false when it kept it.
  bool WaitUntilGone();
  // Closes the window if it is still open; answers the number of close requests it saw.
  int Finish();

 private:
  Process process_;
  std::string title_;
  HWND window_ = nullptr;
};

}  // namespace e2e

namespace e2e {

// The folder records of a completed or stopped install into `target`, deepest first, as
// the log's last section lists them; `programGroup` first when it is not empty, the
// default folders last when `withDefaultFolders` is true.
std::string FolderRecords(const std::string& target, const std::string& programGroup, bool withDefaultFolders);

// A file of `megabytes` MiB at `path` (written once per run, then linked), long enough to
// copy that a test can press Cancel while it is copied.
void PlaceLargeFile(const std::string& path, int megabytes = 256);
inline void AddLargeDataFile(const Medium& medium, const std::string& name, int megabytes = 256) {
  PlaceLargeFile(medium.Dir() + "data\\" + name, megabytes);
}

// The bar's position and its range's end; 0 when the page does not answer within 5 s.
int ProgressPosition(HWND page);
int ProgressMaximum(HWND page);

// The highest position the progress page's bar shows from now until the page is gone.
int HighestPositionUntilClosed(HWND progressPage, DWORD timeoutMs = kDefaultWaitMs);

// The uninstaller's finish page ("删除向导") once it is visible, which is after its
// initialisation has run.
HWND WaitForUninstallFinishPage(DWORD timeoutMs = kDefaultWaitMs);

// Waits until the progress page's status line names `path`.
bool WaitForStatus(HWND progressPage, const std::string& path, DWORD timeoutMs = kDefaultWaitMs);

}  // namespace e2e
