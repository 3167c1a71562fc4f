#include "common/uninstall_log/log_removal.h"

#include <windows.h>

#include <vector>

#include "common/files/whole_file.h"
#include "common/registry/product_keys.h"

namespace uninstall_log {
namespace {

void RemoveRegistryEntry(char* line, RootRule rule, registry::View view) {
  const RegistryRecord record = SplitRegistryRecord(line, rule);
  HKEY root = record.root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  if (record.valueName == nullptr) {
    registry::DeleteKey(root, record.key, view);
    return;
  }
  HKEY key = nullptr;
  if (registry::OpenKey(root, record.key, view, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, record.valueName);
  RegCloseKey(key);
}

}  // namespace

std::optional<std::string> ReadWholeLog(const std::string& path) { return files::ReadWholeFile(path, 0); }

void CarryOutSections(std::string& text, RootRule rule, registry::View view,
                      const std::function<void()>& beforeFolders) {
  // The sections come in order, so the folders, kept until the walk is done, are still
  // removed in the log's order and after everything else.
  std::vector<const char*> folders;
  // std::string keeps a NUL after its last byte: the walk's end mark.
  ForEachRecord(text.data(), [rule, view, &folders](Section section, char* line) {
    switch (section) {
      case kFilesSection: DeleteFileA(line); break;
      case kRegistrySection: RemoveRegistryEntry(line, rule, view); break;
      case kFoldersSection: folders.push_back(line); break;
    }
  });
  if (beforeFolders) beforeFolders();
  for (const char* folder : folders) RemoveDirectoryA(folder);
}

}  // namespace uninstall_log
