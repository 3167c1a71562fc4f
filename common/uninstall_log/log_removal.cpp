#include "common/uninstall_log/log_removal.h"

#include <windows.h>

#include <vector>

#include "common/registry_view/product_line_view.h"
#include "common/platform/files.h"
#include "common/platform/registry.h"

namespace uninstall_log {
namespace {

// Removes the key or value a record names; false when it is still there afterwards.
bool RemoveRegistryEntry(char* line, RootRule rule, registry_view::View view, const std::string& keptKey) {
  const RegistryRecord record = SplitRegistryRecord(line, rule);
  HKEY root = record.root == RegistryRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  if (record.valueName == nullptr && root == HKEY_LOCAL_MACHINE && !keptKey.empty() && keptKey == record.key) {
    return true;  // left to the caller
  }
  HKEY key = nullptr;
  if (record.valueName == nullptr) {
    if (registry_view::DeleteKey(root, record.key, view) == ERROR_SUCCESS) return true;
    const bool stays = registry_view::OpenKey(root, record.key, view, KEY_READ, &key) == ERROR_SUCCESS;
    if (stays) RegCloseKey(key);
    return !stays;
  }
  const LONG opened = registry_view::OpenKey(root, record.key, view, KEY_SET_VALUE, &key);
  if (opened != ERROR_SUCCESS) return opened == ERROR_FILE_NOT_FOUND;
  const LONG deleted = platform::RegDeleteValueGbk(key, record.valueName);
  RegCloseKey(key);
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

// Deletes a file, read-only or not, or when Windows next starts if another program holds
// it now; false when it is neither gone nor scheduled.
bool RemoveOrSchedule(const std::string& path, HeldFiles held, RemovalOutcome& outcome) {
  if (platform::DeleteFileAlways(path) || platform::GetFileAttributesGbk(path) == INVALID_FILE_ATTRIBUTES) return true;
  if (held == HeldFiles::kLeave || !platform::DeleteAtRestartGbk(path)) return false;
  ++outcome.scheduled;
  return true;
}

}  // namespace

std::optional<std::string> ReadWholeLog(const std::string& path) { return platform::ReadWholeFile(path, 0); }

void CarryOutSections(const std::string& logPath, std::string& text, RootRule rule, registry_view::View view,
                      HeldFiles held, const std::function<void(RemovalOutcome&)>& beforeLog,
                      const std::string& keptKey) {
  // The sections come in order, so the folders, kept until the walk is done, are still
  // removed in the log's order and after everything else.
  std::vector<const char*> folders;
  RemovalOutcome outcome;
  // std::string keeps a NUL after its last byte: the walk's end mark.
  ForEachRecord(text.data(), [rule, view, held, &keptKey, &folders, &outcome](Section section, char* line) {
    switch (section) {
      case kFilesSection: outcome.left += RemoveOrSchedule(line, held, outcome) ? 0 : 1; break;
      case kRegistrySection: outcome.left += RemoveRegistryEntry(line, rule, view, keptKey) ? 0 : 1; break;
      case kFoldersSection: folders.push_back(line); break;
    }
  });
  const auto holdsLog = [&logPath](std::string_view folder) {
    return logPath.size() > folder.size() && logPath.compare(0, folder.size(), folder) == 0 &&
           logPath[folder.size()] == '\\';
  };
  // A folder that stays now goes at the restart that deletes the files held in it.
  const auto removeFolder = [&outcome](const char* folder) {
    if (!platform::RemoveDirectoryGbk(folder) && outcome.scheduled > 0 &&
        platform::GetFileAttributesGbk(folder) != INVALID_FILE_ATTRIBUTES) {
      platform::DeleteAtRestartGbk(folder);
    }
  };
  for (const char* folder : folders) {
    if (!holdsLog(folder)) removeFolder(folder);
  }
  if (beforeLog) beforeLog(outcome);
  RemoveOrSchedule(logPath, held, outcome);
  for (const char* folder : folders) {
    if (holdsLog(folder)) removeFolder(folder);
  }
}

}  // namespace uninstall_log
