// Programs a test starts, and the windows they show.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace e2e {

inline constexpr DWORD kDefaultWaitMs = 20000;

// A started program; ended by force when the test did not see it end. One that cannot be
// started fails the test, with the command and Windows' error.
class Process {
 public:
  // With an application name, the command line reaches the program verbatim, as Windows
  // passes a registered command; without one, Wine quotes an unquoted program path.
  explicit Process(const std::string& commandLine, const std::string& applicationName = "");
  // The same with a command line GBK cannot hold.
  explicit Process(std::wstring commandLine, const std::wstring& applicationName = L"");
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  // True when the program ended within the time.
  bool WaitForExit(DWORD timeoutMs = kDefaultWaitMs);
  bool Running() const;
  DWORD ExitCode() const;
  // The most memory the program had in use at once (its peak working set), in KiB.
  unsigned long long PeakWorkingSetKiB() const;

 private:
  PROCESS_INFORMATION info_{};
};

// Polls every 20 ms until `found` answers a window or the time is over (null then).
HWND WaitFor(const std::function<HWND()>& found, DWORD timeoutMs = kDefaultWaitMs);
// The same for a condition that names no window: true once it holds within the time.
inline bool WaitUntil(const std::function<bool()>& holds, DWORD timeoutMs = kDefaultWaitMs) {
  return WaitFor([&holds] { return holds() ? GetDesktopWindow() : nullptr; }, timeoutMs) != nullptr;
}

// A message to a window of another program, answered within `timeoutMs` (SMTO_ABORTIFHUNG:
// at once when that program hangs); `failed` when no answer came. Never a bare SendMessage:
// a program that stopped would hold the test for good.
LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT failed = 0,
            DWORD timeoutMs = 5000);
// A check box's state (-1 when it did not answer), and setting it.
inline LRESULT CheckState(HWND box) { return Ask(box, BM_GETCHECK, 0, 0, -1); }
inline void SetCheck(HWND box, bool checked) { Ask(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }

// A key as a person presses it, with Alt held when `alt` is set (a button's Alt+letter).
struct Key {
  WORD key;
  bool alt = false;
};
// Makes `window` the foreground window and types the keys into it, as the keyboard does
// (SendInput); false when it did not come to the foreground in time.
bool TypeKeys(HWND window, std::initializer_list<Key> keys);

// Visible top-level windows, of one process when `processId` is not 0.
std::vector<HWND> TopLevelWindows(DWORD processId = 0);
std::string WindowText(HWND window);
// The top-level window with this whole title, as Unicode or as an ANSI program's.
HWND FindTitled(const std::string& title);
std::string ClassName(HWND window);

struct MessageBoxSeen {
  HWND window = nullptr;
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  bool hasOk = false;
  bool hasYesNo = false;
};

// A message box of the process (any process when 0), once one is shown.
MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs = kDefaultWaitMs);
// Whether a window is a message box: a dialog with a text and an OK or Yes button.
bool IsMessageBox(HWND window);
// Whether a message box of the process is open right now.
bool MessageBoxOpen(DWORD processId);
// Presses a button of a message box or dialog (IDYES, IDNO, IDOK, ...).
void Press(HWND dialog, int id);

// The processes Windows lists now. A program just started may be listed before it has its
// name, but always with its parent.
struct ListedProcess {
  DWORD id = 0;
  DWORD parent = 0;
  std::string name;  // its program file's name
};
std::vector<ListedProcess> ListProcesses();
// The processes whose program file is named `fileName`.
std::vector<DWORD> ProcessesNamed(const std::string& fileName);
// Ends every process whose program file is named `fileName` (as a forced log-off or
// Task Manager would); answers how many were ended.
int EndProcessesNamed(const std::string& fileName);

// Ends every process that shows a top-level window with one of these titles.
void EndProgramsWithWindow(const std::vector<std::string>& titles);

}  // namespace e2e
