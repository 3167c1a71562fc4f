// Registry values as a test sees them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

std::optional<std::string> ReadString(HKEY root, const std::string& key, const char* value);
void WriteString(HKEY root, const std::string& key, const char* value, const std::string& data);
bool KeyExists(HKEY root, const std::string& key);
// Deletes the key with its subkeys; a missing key is fine.
void DeleteKeyTree(HKEY root, const std::string& key);
void DeleteValue(HKEY root, const std::string& key, const char* value);

}  // namespace e2e
