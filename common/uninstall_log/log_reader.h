// Reading rules of the uninstall log, shared by the installer's replay and the
// uninstaller's removal. The text is split in place in one pass; no line is copied.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace uninstall_log {

enum Section { kFilesSection = 0, kRegistrySection = 1, kFoldersSection = 2 };

// Walks the NUL-terminated `text`, overwriting every CR with NUL. Each line ends at a CR;
// the byte after the CR is skipped unexamined; bytes after the last CR form no line. An
// empty line moves on to the next section; every other line of sections 0 to 2 is handed
// to `onRecord` at once, in file order. Lines of section 3 and later are ignored.
void ForEachRecord(char* text, const std::function<void(Section, char* line)>& onRecord);

// How the text before the first comma of a registry record picks its root.
enum class RootRule {
  kExactName,    // only exactly "HKEY_CURRENT_USER" selects HKEY_CURRENT_USER (installer)
  kLeadingPart,  // any leading part of "HKEY_CURRENT_USER", even "", selects it (uninstaller)
};

enum class RegistryRoot { kLocalMachine, kCurrentUser };

struct RegistryRecord {
  RegistryRoot root = RegistryRoot::kLocalMachine;
  const char* key = nullptr;
  const char* valueName = nullptr;  // null: the record names the whole key
};

// The registry-section records as the install writes them: root name, comma, key path
// and, for a value, a second comma and the value name.
std::string KeyRecord(RegistryRoot root, std::string_view key);
std::string ValueRecord(RegistryRoot root, std::string_view key, std::string_view valueName);

// Splits one registry-section line in place (its commas become NULs): root, key path and,
// after a second comma, the value name, which keeps any further commas. A line without a
// comma is a key under HKEY_LOCAL_MACHINE.
RegistryRecord SplitRegistryRecord(char* line, RootRule rule);

}  // namespace uninstall_log
