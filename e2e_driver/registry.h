// Registry values as a test sees them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// `view` selects the registry view of a key under HKEY_LOCAL_MACHINE: 0 for the
// program's own (64-bit) view, kProductView for the 32-bit view where the product line
// keeps its keys.
inline constexpr REGSAM kProductView = KEY_WOW64_32KEY;

std::optional<std::string> ReadString(HKEY root, const std::string& key, const char* value, REGSAM view = 0);
std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const char* value, REGSAM view = 0);
void WriteString(HKEY root, const std::string& key, const char* value, const std::string& data, REGSAM view = 0);
void WriteDword(HKEY root, const std::string& key, const char* value, DWORD data, REGSAM view = 0);
bool KeyExists(HKEY root, const std::string& key, REGSAM view = 0);
// Deletes the key with its subkeys; a missing key is fine.
void DeleteKeyTree(HKEY root, const std::string& key, REGSAM view = 0);
void DeleteValue(HKEY root, const std::string& key, const char* value, REGSAM view = 0);

}  // namespace e2e
