#include "common/uninstall_log/log_reader.h"

#include <cstring>

namespace uninstall_log {

void ForEachRecord(char* text, const std::function<void(Section, char* line)>& onRecord) {
  int section = 0;
  char* lineStart = text;
  for (char* p = text; *p != '\0'; ++p) {
    if (*p != '\r') continue;
    *p = '\0';
    if (*lineStart == '\0') {
      ++section;
    } else if (section <= kFoldersSection) {
      onRecord(static_cast<Section>(section), lineStart);
    }
    // The byte after the CR (normally LF) never belongs to a line.
    if (p[1] == '\0') break;
    ++p;
    lineStart = p + 1;
  }
}

namespace {

constexpr char kCurrentUser[] = "HKEY_CURRENT_USER";
constexpr char kLocalMachine[] = "HKEY_LOCAL_MACHINE";

}  // namespace

std::string KeyRecord(RegistryRoot root, std::string_view key) {
  std::string record(root == RegistryRoot::kCurrentUser ? kCurrentUser : kLocalMachine);
  return record.append(",").append(key);
}

std::string ValueRecord(RegistryRoot root, std::string_view key, std::string_view valueName) {
  return KeyRecord(root, key).append(",").append(valueName);
}

RegistryRecord SplitRegistryRecord(char* line, RootRule rule) {
  RegistryRecord record;
  char* firstComma = std::strchr(line, ',');
  if (firstComma == nullptr) {
    record.key = line;
    return record;
  }
  *firstComma = '\0';
  const bool currentUser = rule == RootRule::kExactName ? std::strcmp(line, kCurrentUser) == 0
                                                        : std::strncmp(line, kCurrentUser, std::strlen(line)) == 0;
  record.root = currentUser ? RegistryRoot::kCurrentUser : RegistryRoot::kLocalMachine;
  record.key = firstComma + 1;
  if (char* secondComma = std::strchr(firstComma + 1, ','); secondComma != nullptr) {
    *secondComma = '\0';
    record.valueName = secondComma + 1;
  }
  return record;
}

}  // namespace uninstall_log
