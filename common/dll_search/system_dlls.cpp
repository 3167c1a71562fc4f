#include "common/dll_search/system_dlls.h"

#include <string>

namespace dll_search {

namespace {

// Loaded by name after start-up: the progress bar's class, the visual styles every window
// loads, and what the shell's folder browser and shell-link object bring in.
constexpr const char* kLaterLoadedDlls[] = {"comctl32.dll", "uxtheme.dll", "userenv.dll", "setupapi.dll",
                                            "apphelp.dll",  "propsys.dll", "dwmapi.dll",  "cryptbase.dll",
                                            "oleacc.dll",   "clbcatq.dll", "version.dll", "ntmarta.dll"};

}  // namespace

HMODULE LoadSystemLibrary(const char* fileName) {
  char system[MAX_PATH] = "";
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryA((std::string(system) + "\\" + fileName).c_str());
}

void WithoutDefaultDirectories() {
  SetDllDirectoryA("");
  for (const char* dll : kLaterLoadedDlls) LoadSystemLibrary(dll);
}

void LoadFromSystemFolderOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  // Taken at run time: a static import would keep an un-updated Windows 7 from starting
  // the program at all.
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  WithoutDefaultDirectories();
}

}  // namespace dll_search
