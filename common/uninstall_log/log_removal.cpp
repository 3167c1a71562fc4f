#include "common/uninstall_log/log_removal.h"

#include <windows.h>

#include "common/files/whole_file.h"

namespace uninstall_log {
namespace {

void RemoveRegistryEntry(char* line, RootRule rule) {
  const RegistryRecord record = SplitRegistryRecord(line, rule);
  HKEY root = record.root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  if (record.valueName == nullptr) {
    RegDeleteKeyA(root, record.key);
    return;
  }
  HKEY key = nullptr;
  if (RegOpenKeyA(root, record.key, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, record.valueName);
  RegCloseKey(key);
}

}  // namespace

std::optional<std::string> ReadWholeLog(const std::string& path) {
  return files::ReadWholeFile(path, 0);
}

void CarryOutSections(std::string& text, RootRule rule) {
  // std::string keeps a NUL after its last byte: the walk's end mark.
  ForEachRecord(text.data(), [rule](Section section, char* line) {
    switch (section) {
      case kFilesSection: DeleteFileA(line); break;
      case kRegistrySection: RemoveRegistryEntry(line, rule); break;
      case kFoldersSection: RemoveDirectoryA(line); break;
    }
  });
}

}  // namespace uninstall_log
