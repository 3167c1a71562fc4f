#include "tests/e2e/support/registry.h"

#include <vector>

namespace e2e {

std::optional<std::string> ReadString(HKEY root, const std::string& key, const char* value, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD size = 0;
  std::optional<std::string> result;
  if (RegQueryValueExA(opened, value, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(opened, value, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) ==
        ERROR_SUCCESS) {
      result = std::string(data.data());
    }
  }
  RegCloseKey(opened);
  return result;
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const char* value, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD data = 0;
  DWORD size = sizeof data;
  DWORD type = 0;
  const bool read =
      RegQueryValueExA(opened, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) == ERROR_SUCCESS &&
      type == REG_DWORD;
  RegCloseKey(opened);
  return read ? std::optional<DWORD>(data) : std::nullopt;
}

void WriteString(HKEY root, const std::string& key, const char* value, const std::string& data, REGSAM view) {
  HKEY created = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &created, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(created, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>(data.size() + 1));
  RegCloseKey(created);
}

bool KeyExists(HKEY root, const std::string& key, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void DeleteKeyTree(HKEY root, const std::string& key, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS | view, &opened) == ERROR_SUCCESS) {
    RegDeleteTreeA(opened, nullptr);
    RegCloseKey(opened);
  }
  RegDeleteKeyExA(root, key.c_str(), view, 0);
}

void DeleteValue(HKEY root, const std::string& key, const char* value, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE | view, &opened) != ERROR_SUCCESS) return;
  RegDeleteValueA(opened, value);
  RegCloseKey(opened);
}

}  // namespace e2e
