#include "common/platform/desktop_shell.h"

#include <windows.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "common/platform/gbk_text.h"
#include "common/platform/machine_changes.h"

namespace platform {

namespace {

// An interface pointer released with its scope.
template <typename Interface>
class Held {
 public:
  Held() = default;
  ~Held() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  Interface* operator->() const { return pointer_; }
  Interface** Out() { return &pointer_; }
  void** OutVoid() { return reinterpret_cast<void**>(&pointer_); }
  explicit operator bool() const { return pointer_ != nullptr; }

 private:
  Interface* pointer_ = nullptr;
};

// A VARIANT cleared with its scope.
struct Variant : VARIANT {
  Variant() { VariantInit(this); }
  ~Variant() { VariantClear(this); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
};

// The desktop shell's Shell.Application object, reached through the desktop's own view:
// what it starts is started by Explorer.
bool DesktopShell(Held<IShellDispatch2>& shell) {
  Held<IShellWindows> windows;
  Held<IDispatch> desktop;
  Held<IServiceProvider> services;
  Held<IShellBrowser> browser;
  Held<IShellView> view;
  Held<IDispatch> background;
  Held<IShellFolderViewDual> folderView;
  Held<IDispatch> application;
  Variant location;
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  Variant root;
  long window = 0;
  return SUCCEEDED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                    windows.OutVoid())) &&
         windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.Out()) == S_OK &&
         desktop && SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.OutVoid())) &&
         SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.OutVoid())) &&
         SUCCEEDED(browser->QueryActiveShellView(view.Out())) &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.OutVoid())) &&
         SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.OutVoid())) &&
         SUCCEEDED(folderView->get_Application(application.Out())) && application &&
         SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.OutVoid()));
}

std::vector<DWORD> ProcessesNamed(const std::wstring& fileName) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, fileName.c_str()) == 0) found.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

// The shell answers before its program runs and gives no handle of it: the program is
// found as a process of its name that was not there before, and waited for as WinExec
// waits for the program it starts.
void WaitUntilNewProcessIdle(const std::wstring& fileName, const std::vector<DWORD>& before) {
  constexpr DWORD kAppearMs = 5000;
  constexpr DWORD kIdleMs = 30000;
  for (const ULONGLONG deadline = GetTickCount64() + kAppearMs; GetTickCount64() < deadline; Sleep(10)) {
    for (DWORD id : ProcessesNamed(fileName)) {
      if (std::find(before.begin(), before.end(), id) != before.end()) continue;
      if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id)) {
        WaitForInputIdle(process, kIdleMs);
        CloseHandle(process);
      }
      return;
    }
  }
}

}  // namespace

bool OpenAsDesktopUserGbk(const std::string& file, bool waitUntilIdle) {
  const std::optional<std::wstring> path = WideFromGbk(file);
  if (!path) return false;
  const std::wstring fileName = path->substr(path->find_last_of(L'\\') + 1);
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  bool started = false;
  {
    Held<IShellDispatch2> shell;
    if (DesktopShell(shell)) {
      const std::vector<DWORD> before = waitUntilIdle ? ProcessesNamed(fileName) : std::vector<DWORD>();
      BSTR name = SysAllocString(path->c_str());
      Variant arguments;
      Variant folder;
      Variant verb;
      verb.vt = VT_BSTR;
      verb.bstrVal = SysAllocString(L"open");
      Variant show;
      show.vt = VT_I4;
      show.lVal = SW_SHOW;
      started = name != nullptr && SUCCEEDED(shell->ShellExecute(name, arguments, folder, verb, show));
      SysFreeString(name);
      if (started && waitUntilIdle) WaitUntilNewProcessIdle(fileName, before);
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return ReportedChange(started);
}

}  // namespace platform
