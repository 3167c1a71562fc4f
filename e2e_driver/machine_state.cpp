#include "e2e_driver/machine_state.h"

#include <windows.h>

#include <sstream>
#include <vector>

#include "e2e_driver/files.h"
#include "e2e_driver/kit.h"
#include "e2e_driver/wide.h"

namespace e2e {

namespace {

void AddTree(MachineState& state, const std::string& root) {
  if (root.empty()) return;
  for (const auto& [path, size] : ListTree(root)) state.files[root + path] = size;
}

void AddValues(MachineState& state, HKEY root, const std::string& key, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return;
  const std::string name = (view == kProductView ? "32:" : "64:") + key;
  state.registry[name] = "(key)";
  for (DWORD index = 0;; ++index) {
    wchar_t valueName[512];
    DWORD nameSize = 512;
    BYTE data[4096];
    DWORD dataSize = sizeof data;
    if (RegEnumValueW(opened, index, valueName, &nameSize, nullptr, nullptr, data, &dataSize) != ERROR_SUCCESS) break;
    state.registry[name + "\\" + Gbk(valueName)] = std::string(reinterpret_cast<char*>(data), dataSize);
  }
  RegCloseKey(opened);
}

}  // namespace

MachineState CaptureMachineState() {
  MachineState state;
  // Program Files by its top-level names, and the maker's folder in full.
  for (const auto& [path, size] : ListTree("C:\\Program Files", /*depth=*/1))
    state.files["C:\\Program Files" + path] = size;
  AddTree(state, kMorvessaFolder);
  AddTree(state, ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs"));
  AddTree(state, ShellFolder(HKEY_LOCAL_MACHINE, "Common Desktop"));
  AddTree(state, ShellFolder(HKEY_CURRENT_USER, "Programs"));
  AddTree(state, ShellFolder(HKEY_CURRENT_USER, "Desktop"));
  if (const std::string temp = TempFolder(); temp.size() > 1) AddTree(state, temp.substr(0, temp.size() - 1));
  for (REGSAM view : {REGSAM{0}, kProductView}) {
    for (const std::string& key : VersionKeys()) AddValues(state, HKEY_LOCAL_MACHINE, key, view);
    AddValues(state, HKEY_LOCAL_MACHINE, kRunKey, view);
  }
  ForgetDeletedAtRestart(state);
  return state;
}

std::vector<std::string> DeletedAtRestart() {
  std::vector<std::string> paths;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS) {
    return paths;
  }
  DWORD size = 0;
  std::vector<wchar_t> list;
  if (RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    list.resize(size / sizeof(wchar_t) + 2, L'\0');
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(list.data()),
                     &size);
  }
  RegCloseKey(key);
  // Pairs of names, "\??\C:\..." and the new name, empty for a deletion.
  for (const wchar_t* from = list.data(); !list.empty() && *from != L'\0';) {
    const wchar_t* to = from + wcslen(from) + 1;
    std::wstring path = from;
    if (path.rfind(L"\\??\\", 0) == 0) path.erase(0, 4);
    if (*to == L'\0') paths.push_back(Gbk(path));
    from = to + wcslen(to) + 1;
  }
  return paths;
}

bool Restart() {
  Process wineboot("wineboot.exe -r");
  return wineboot.WaitForExit(60000) && wineboot.ExitCode() == 0;
}

void ForgetDeletedAtRestart(MachineState& state) {
  for (const std::string& path : DeletedAtRestart()) {
    for (auto file = state.files.begin(); file != state.files.end();) {
      file = lstrcmpiA(file->first.c_str(), path.c_str()) == 0 ? state.files.erase(file) : std::next(file);
    }
  }
}

std::string Difference(const MachineState& before, const MachineState& after) {
  std::ostringstream out;
  for (const auto& [path, size] : before.files) {
    if (!after.files.count(path)) out << "gone: " << path << "\n";
  }
  for (const auto& [path, size] : after.files) {
    auto old = before.files.find(path);
    if (old == before.files.end()) {
      out << "left behind: " << path << "\n";
    } else if (old->second != size) {
      out << "changed: " << path << "\n";
    }
  }
  for (const auto& [name, data] : before.registry) {
    if (!after.registry.count(name)) out << "registry gone: " << name << "\n";
  }
  for (const auto& [name, data] : after.registry) {
    auto old = before.registry.find(name);
    if (old == before.registry.end() || old->second != data) out << "registry left or changed: " << name << "\n";
  }
  return out.str();
}

}  // namespace e2e
