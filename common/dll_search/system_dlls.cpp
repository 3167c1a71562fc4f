#include "common/dll_search/system_dlls.h"

#include <commctrl.h>

#include <string>

namespace dll_search {

namespace {

// Loaded by name after start-up: the progress bar's class, the visual styles every window
// loads, and what the shell's folder browser and shell-link object bring in.
constexpr const wchar_t* kLaterLoadedDlls[] = {L"comctl32.dll", L"uxtheme.dll", L"userenv.dll", L"setupapi.dll",
                                               L"apphelp.dll",  L"propsys.dll", L"dwmapi.dll",  L"cryptbase.dll",
                                               L"oleacc.dll",   L"clbcatq.dll", L"version.dll", L"ntmarta.dll"};

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  wchar_t system[MAX_PATH] = L"";
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(system, length) + L"\\" + fileName).c_str());
}

void WithoutDefaultDirectories() {
  SetDllDirectoryW(L"");
  for (const wchar_t* dll : kLaterLoadedDlls) LoadSystemLibrary(dll);
}

void LoadFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  // Taken at run time: a static import would keep an un-updated Windows 7 from starting
  // the program at all.
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  WithoutDefaultDirectories();
}

void RegisterProgressBarClass() {
  HMODULE comctl = LoadSystemLibrary(L"comctl32.dll");
  if (comctl == nullptr) return;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  auto init = reinterpret_cast<InitFunction>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  if (init != nullptr) init(&classes);
}

}  // namespace dll_search
