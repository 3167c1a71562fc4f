#include "e2e_driver/process.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <psapi.h>

#include <vector>
#include "e2e_driver/wide.h"

namespace e2e {

Process::Process(const std::string& commandLine, const std::string& applicationName)
    : Process(Wide(commandLine), Wide(applicationName)) {}

Process::Process(std::wstring commandLine, const std::wstring& applicationName) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const std::wstring shown = commandLine;
  // Under load Wine now and then fails a start with ERROR_INTERNAL_ERROR that the next try
  // does not (the kit's own starts try again the same way).
  for (int tried = 1; !CreateProcessW(applicationName.empty() ? nullptr : applicationName.c_str(), commandLine.data(),
                                      nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
       ++tried) {
    const DWORD error = GetLastError();
    if (tried == 3 || error != ERROR_INTERNAL_ERROR) {
      info_ = {};
      ADD_FAILURE() << "could not start " << Gbk(shown) << ": Windows error " << error;
      return;
    }
    commandLine = shown;
    Sleep(100);
  }
}

Process::~Process() {
  if (info_.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool Process::WaitForExit(DWORD timeoutMs) {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Process::Running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

unsigned long long Process::PeakWorkingSetKiB() const {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (info_.hProcess == nullptr || !GetProcessMemoryInfo(info_.hProcess, &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize / 1024;
}

DWORD Process::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess != nullptr) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

HWND WaitFor(const std::function<HWND()>& found, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (HWND window = found()) return window;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(20);
  }
}

namespace {
struct Enumeration {
  DWORD processId;
  std::vector<HWND> windows;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
  auto* enumeration = reinterpret_cast<Enumeration*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (IsWindowVisible(window) && (enumeration->processId == 0 || owner == enumeration->processId)) {
    enumeration->windows.push_back(window);
  }
  return TRUE;
}

}  // namespace

bool IsMessageBox(HWND window) {
  return ClassName(window) == "#32770" && GetDlgItem(window, 0xFFFF) != nullptr &&
         (GetDlgItem(window, IDOK) != nullptr || GetDlgItem(window, IDYES) != nullptr);
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  Enumeration enumeration{processId, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&enumeration));
  return enumeration.windows;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT failed, DWORD timeoutMs) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer)) return failed;
  return static_cast<LRESULT>(answer);
}

std::string WindowText(HWND window) {
  wchar_t text[4096] = L"";
  Ask(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return Gbk(text);
}

std::string ClassName(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  MessageBoxSeen seen;
  seen.window = WaitFor(
      [processId]() -> HWND {
        for (HWND window : TopLevelWindows(processId)) {
          if (IsMessageBox(window)) return window;
        }
        return nullptr;
      },
      timeoutMs);
  if (seen.window != nullptr) {
    seen.text = WindowText(GetDlgItem(seen.window, 0xFFFF));
    seen.caption = WindowText(seen.window);
    seen.owner = GetWindow(seen.window, GW_OWNER);
    seen.hasOk = GetDlgItem(seen.window, IDOK) != nullptr;
    seen.hasYesNo = GetDlgItem(seen.window, IDYES) != nullptr && GetDlgItem(seen.window, IDNO) != nullptr;
  }
  return seen;
}

bool MessageBoxOpen(DWORD processId) {
  for (HWND window : TopLevelWindows(processId)) {
    if (IsMessageBox(window)) return true;
  }
  return false;
}

HWND FindTitled(const std::string& title) {
  if (HWND window = FindWindowW(nullptr, Wide(title).c_str())) return window;
  // An ANSI stand-in's title: its GBK bytes read in the system's code page.
  return FindWindowA(nullptr, title.c_str());
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::vector<ListedProcess> ListProcesses() {
  std::vector<ListedProcess> listed;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return listed;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    listed.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
  }
  CloseHandle(snapshot);
  return listed;
}

std::vector<DWORD> ProcessesNamed(const std::string& fileName) {
  std::vector<DWORD> found;
  for (const ListedProcess& process : ListProcesses()) {
    if (lstrcmpiA(process.name.c_str(), fileName.c_str()) == 0) found.push_back(process.id);
  }
  return found;
}

int EndProcessesNamed(const std::string& fileName) {
  int ended = 0;
  for (DWORD id : ProcessesNamed(fileName)) {
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      if (TerminateProcess(process, 1)) ++ended;
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  return ended;
}

void EndProgramsWithWindow(const std::vector<std::string>& titles) {
  const ULONGLONG deadline = GetTickCount64() + kDefaultWaitMs;
  for (const std::string& title : titles) {
    while (HWND window = FindTitled(title)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, owner);
      if (process == nullptr || GetTickCount64() > deadline) {
        if (process != nullptr) CloseHandle(process);
        ADD_FAILURE() << "a window titled " << title << " could not be ended";
        break;
      }
      TerminateProcess(process, 1);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
}

bool TypeKeys(HWND window, std::initializer_list<Key> keys) {
  const bool foreground = WaitUntil([window] {
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
    return GetForegroundWindow() == window;
  });
  if (!foreground) return false;
  auto input = [](WORD key, bool up) {
    INPUT event{};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = key;
    event.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return event;
  };
  for (const Key& key : keys) {
    std::vector<INPUT> events;
    if (key.alt) events.push_back(input(VK_MENU, false));
    events.push_back(input(key.key, false));
    events.push_back(input(key.key, true));
    if (key.alt) events.push_back(input(VK_MENU, true));
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    Sleep(100);  // each key handled before the next, as a person types
  }
  return true;
}

}  // namespace e2e
