#include "e2e_driver/kit.h"

#include <algorithm>
#include <cstdlib>

#include "common/gbk/gbk_search.h"
#include "e2e_driver/machine_state.h"
#include "e2e_driver/wide.h"

namespace e2e {

namespace {
constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr char kTestsRoot[] = "C:\\kit-tests";

// GBK-aware: a folder name ending in a character with trail byte 0x5C still gets one.
std::string WithBackslash(std::string path) {
  if (!path.empty() && gbk::FindLastBackslash(path) != path.size() - 1) path += '\\';
  return path;
}
}  // namespace

namespace {
std::string DirNamedBy(const char* variable) {
  const char* dir = std::getenv(variable);
  return dir != nullptr && *dir != '\0' ? WithBackslash(dir) : "";
}
}  // namespace

std::string KitDir() { return DirNamedBy("QUENDRAL_KIT_DIR"); }
std::string HeldKitDir() { return DirNamedBy("QUENDRAL_HELD_KIT"); }
std::string CrashMediumDir() { return DirNamedBy("QUENDRAL_CRASH_MEDIUM"); }

std::string HelperDir() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string self(path);
  return self.substr(0, self.rfind('\\') + 1);
}

std::string ShellFolder(HKEY root, const char* value) { return ReadString(root, kShellFoldersKey, value).value_or(""); }

Medium::Medium(const std::string& folder, bool sample, Programs programs) : dir_(WithBackslash(folder)) {
  MakeFolders(dir_ + "data");
  const std::string kit = KitDir();
  const std::string programsKit = programs == Programs::kHeld ? HeldKitDir() : kit;
  EXPECT_FALSE(programsKit.empty()) << (programs == Programs::kHeld ? "QUENDRAL_HELD_KIT" : "QUENDRAL_KIT_DIR")
                                    << " names no medium";
  CopyOrDie(programsKit + "install.exe", dir_ + "install.exe");
  CopyOrDie(programsKit + "uninstall.exe", dir_ + "uninstall.exe");
  if (!sample) return;
  for (const char* name :
       {"install.inf", "License.txt", "install.ini", "data\\lumora.exe", "data\\vigilo.exe", "data\\lumora.chm"}) {
    CopyOrDie(kit + name, dir_ + name);
  }
}

void Medium::AddDataFile(const std::string& name, const std::string& bytes) {
  WriteBytes(dir_ + "data\\" + name, bytes);
}

void Medium::MakeReadOnly() const {
  for (const auto& [name, size] : ListTree(dir_)) {
    if (size >= 0) SetFileAttributesW(Wide(dir_ + name).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  EXPECT_TRUE(AnyFileReadOnly(dir_));
}

namespace {
// Whether a path lies in the temporary folder (Windows' names, any case).
bool InTempFolder(const std::string& path) {
  const std::string temp = TempFolder();
  return lstrcmpiA(path.substr(0, temp.size()).c_str(), temp.c_str()) == 0;
}
}  // namespace

std::vector<std::string> UninstallerCopies() {
  std::vector<std::string> copies;
  const std::string name = "\\uninstall.exe";
  for (const std::string& path : DeletedAtRestart()) {
    if (InTempFolder(path) && path.size() > name.size() &&
        lstrcmpiA(path.substr(path.size() - name.size()).c_str(), name.c_str()) == 0) {
      copies.push_back(path);
    }
  }
  return copies;
}

std::string BuiltSetupFile() {
  const char* file = std::getenv("QUENDRAL_BUILT_SETUP");
  return file != nullptr ? file : "";
}

std::vector<std::string> PrivateTempFolders() {
  std::vector<std::string> folders;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(Wide(TempFolder() + "Quendral-*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return folders;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) folders.push_back(TempFolder() + Gbk(found.cFileName));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return folders;
}

bool AnyFileReadOnly(const std::string& root) {
  for (const auto& [name, size] : ListTree(root)) {
    const DWORD attributes = GetFileAttributesW(Wide(WithBackslash(root) + name).c_str());
    if (size >= 0 && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return true;
  }
  return false;
}

Page PageOf(HWND window) { return WindowText(window) == kWizardCaption ? PageByControls(window) : Page::kUnknown; }

Page PageByControls(HWND window) {
  if (ClassName(window) != "#32770") return Page::kUnknown;
  if (GetDlgItem(window, IDOK) != nullptr || GetDlgItem(window, IDYES) != nullptr) return Page::kUnknown;
  if (GetDlgItem(window, IDC_LAUNCH_BOX) != nullptr) return Page::kFinish;
  if (GetDlgItem(window, IDC_PROGRESS_BAR) != nullptr) return Page::kProgress;
  if (GetDlgItem(window, IDC_BROWSE) != nullptr) return Page::kDestination;
  if (GetDlgItem(window, IDC_TEXT_BOX) != nullptr) {
    return WindowText(GetDlgItem(window, IDC_NEXT)) == "是(&Y) >" ? Page::kLicence : Page::kSummary;
  }
  return GetDlgItem(window, IDC_NEXT) != nullptr ? Page::kWelcome : Page::kUnknown;
}

std::vector<HWND> Installer::Windows() const {
  if (!throughSetup_) return TopLevelWindows(process_.Id());
  std::vector<HWND> windows;
  for (HWND window : TopLevelWindows()) {
    if (WindowText(window) == kWizardCaption) windows.push_back(window);
  }
  return windows;
}

HWND Installer::WaitForPage(Page page, DWORD timeoutMs, Page (*classify)(HWND)) {
  return WaitFor(
      [this, page, classify]() -> HWND {
        for (HWND window : Windows()) {
          if (classify(window) == page) return window;
        }
        return nullptr;
      },
      timeoutMs);
}

HWND Installer::WalkTo(Page target, Page from) {
  HWND window = WaitForPage(from);
  for (Page page = from; window != nullptr && page != target;) {
    Press(window, IDC_NEXT);
    page = static_cast<Page>(static_cast<int>(page) + 1);
    window = WaitForPage(page);
  }
  return window;
}

bool Installer::FinishWithoutProduct(HWND finishPage) {
  SetCheck(GetDlgItem(finishPage, IDC_LAUNCH_BOX), false);
  Press(finishPage, IDC_NEXT);
  return WaitForExit() && process_.ExitCode() == 0;
}

bool Installer::StartCopy() {
  HWND summary = WalkTo(Page::kSummary);
  if (summary == nullptr) return false;
  Press(summary, IDC_NEXT);
  return true;
}

std::string KitTest::TestFolderName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(info->test_suite_name()) + "." + info->name();
}

std::string KitTest::TestFolder(const std::string& name) {
  std::string folder = std::string(kTestsRoot) + "\\" + TestFolderName();
  if (ownFolder_.empty()) {
    RemoveTree(folder);
    ownFolder_ = folder;
  }
  if (!name.empty()) folder += "\\" + name;
  MakeFolders(folder);
  return folder;
}

std::vector<std::string> VersionKeys() {
  std::vector<std::string> keys;
  for (const char* version : {"1.0", "1.1", "1.2", "1.3"}) keys.push_back(kUninstallKeyPrefix + version);
  return keys;
}

void KitTest::CleanMachine() {
  EndProgramsWithWindow({"Quendral", "Quendral复习自动检查", "删除向导"});
  // Deletions left scheduled by a test that failed part-way would hide what the next one
  // leaves; the uninstaller's copies in the temporary folder wait for the restart.
  const std::vector<std::string> scheduled = DeletedAtRestart();
  if (!std::all_of(scheduled.begin(), scheduled.end(), InTempFolder)) {
    EXPECT_TRUE(Restart());
  }
  RemoveTree(kMorvessaFolder);
  for (REGSAM view : {REGSAM{0}, kProductView}) {
    for (const std::string& key : VersionKeys()) DeleteKeyTree(HKEY_LOCAL_MACHINE, key, view);
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "Lumora vigilo", view);
  }
  DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\install.exe");
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    const bool allUsers = root == HKEY_LOCAL_MACHINE;
    const std::string programs = ShellFolder(root, allUsers ? "Common Programs" : "Programs");
    const std::string desktop = ShellFolder(root, allUsers ? "Common Desktop" : "Desktop");
    if (!programs.empty()) RemoveTree(programs + "\\Quendral1.3");
    if (!desktop.empty()) DeleteFileW(Wide(desktop + "\\Quendral.lnk").c_str());
  }
}

void KitTest::SetUp() { CleanMachine(); }

void KitTest::TearDown() {
  CleanMachine();
  if (!ownFolder_.empty()) RemoveTree(ownFolder_);
}

}  // namespace e2e

namespace e2e {

TitledWindow::TitledWindow(const std::string& title, int closeOnRequest)
    : process_("\"" + HelperDir() + "titled_window.exe\" " + std::to_string(closeOnRequest) + " " + title),
      title_(title) {
  window_ = WaitFor([&title] { return FindTitled(title); });
}

bool TitledWindow::WaitUntilGone() {
  return WaitFor([this]() -> HWND { return FindTitled(title_) ? nullptr : window_; }) != nullptr;
}

int TitledWindow::Finish() {
  if (IsWindow(window_)) PostMessageA(window_, WM_CLOSE, 0, 0);
  if (!process_.WaitForExit()) return -1;
  return static_cast<int>(process_.ExitCode());
}

}  // namespace e2e

namespace e2e {

std::string FolderRecords(const std::string& target, const std::string& programGroup, bool withDefaultFolders) {
  std::string records;
  if (!programGroup.empty()) records += programGroup + "\r\n";
  records += target + "\\users\r\n" + target + "\\mp3\r\n";
  for (const char* numbered : {"\\bok", "\\mp3lib"}) {
    for (char digit = '6'; digit >= '1'; --digit) records += target + numbered + "\\" + digit + "\r\n";
    records += target + numbered + "\r\n";
  }
  records += target + "\\sound\r\n" + target + "\\word\r\n";
  if (withDefaultFolders) records += kDefaultTarget + "\r\n" + kMorvessaFolder + "\r\n";
  return records;
}

namespace {

int AskBar(HWND page, UINT message, WPARAM wParam) {
  return static_cast<int>(Ask(GetDlgItem(page, IDC_PROGRESS_BAR), message, wParam));
}

}  // namespace

int ProgressPosition(HWND page) { return AskBar(page, PBM_GETPOS, 0); }
int ProgressMaximum(HWND page) { return AskBar(page, PBM_GETRANGE, FALSE); }

int HighestPositionUntilClosed(HWND progressPage, DWORD timeoutMs) {
  int highest = 0;
  // A tight poll: the last position shows only while the worker builds the folders,
  // shortcuts and registry entries.
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs;
       IsWindow(progressPage) && GetTickCount64() < deadline;) {
    highest = std::max(highest, ProgressPosition(progressPage));
  }
  return highest;
}

void PlaceLargeFile(const std::string& path, int megabytes) {
  const std::string cache = "C:\\kit-tests-cache\\large-" + std::to_string(megabytes) + ".bin";
  if (!FileExists(cache)) {
    MakeFolders("C:\\kit-tests-cache");
    std::string block(1 << 20, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>((i * 2654435761u) >> 13);
    HANDLE file = CreateFileA(cache.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    for (int i = 0; i < megabytes; ++i) {
      DWORD written = 0;
      WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
    }
    CloseHandle(file);
  }
  DeleteFileW(Wide(path).c_str());
  if (!CreateHardLinkA(path.c_str(), cache.c_str(), nullptr)) CopyOrDie(cache, path);
}

HWND WaitForUninstallFinishPage(DWORD timeoutMs) {
  return WaitFor(
      []() -> HWND {
        HWND page = FindWindowW(L"#32770", Wide("删除向导").c_str());
        return page != nullptr && IsWindowVisible(page) ? page : nullptr;
      },
      timeoutMs);
}

bool WaitForStatus(HWND progressPage, const std::string& path, DWORD timeoutMs) {
  return WaitFor(
             [&]() -> HWND {
               return WindowText(GetDlgItem(progressPage, IDC_STATUS_TEXT)) == path ? progressPage : nullptr;
             },
             timeoutMs) != nullptr;
}

}  // namespace e2e
