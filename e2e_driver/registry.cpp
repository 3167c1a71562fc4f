#include "e2e_driver/registry.h"

#include <vector>
#include "e2e_driver/wide.h"

namespace e2e {

namespace {

// A value's name for a W call; null names the key's default value.
class ValueName {
 public:
  explicit ValueName(const char* name) : null_(name == nullptr), text_(null_ ? std::wstring() : Wide(name)) {}
  const wchar_t* Get() const { return null_ ? nullptr : text_.c_str(); }

 private:
  bool null_;
  std::wstring text_;
};

}  // namespace

std::optional<std::string> ReadString(HKEY root, const std::string& key, const char* value, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD size = 0;
  std::optional<std::string> result;
  if (RegQueryValueExW(opened, ValueName(value).Get(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(opened, ValueName(value).Get(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                         &size) == ERROR_SUCCESS) {
      result = Gbk(data.data());
    }
  }
  RegCloseKey(opened);
  return result;
}

std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const char* value, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD data = 0;
  DWORD size = sizeof data;
  DWORD type = 0;
  const bool read = RegQueryValueExW(opened, ValueName(value).Get(), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                                     &size) == ERROR_SUCCESS &&
                    type == REG_DWORD;
  RegCloseKey(opened);
  return read ? std::optional<DWORD>(data) : std::nullopt;
}

namespace {

void WriteValue(HKEY root, const std::string& key, const char* value, DWORD type, const void* data, DWORD size,
                REGSAM view) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE | view, nullptr, &created, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(created, ValueName(value).Get(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(created);
}

}  // namespace

void WriteString(HKEY root, const std::string& key, const char* value, const std::string& data, REGSAM view) {
  const std::wstring text = Wide(data);
  WriteValue(root, key, value, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), view);
}

void WriteDword(HKEY root, const std::string& key, const char* value, DWORD data, REGSAM view) {
  WriteValue(root, key, value, REG_DWORD, &data, sizeof data, view);
}

bool KeyExists(HKEY root, const std::string& key, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void DeleteKeyTree(HKEY root, const std::string& key, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_ALL_ACCESS | view, &opened) == ERROR_SUCCESS) {
    RegDeleteTreeW(opened, nullptr);
    RegCloseKey(opened);
  }
  RegDeleteKeyExW(root, Wide(key).c_str(), view, 0);
}

void DeleteValue(HKEY root, const std::string& key, const char* value, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_SET_VALUE | view, &opened) != ERROR_SUCCESS) return;
  RegDeleteValueW(opened, ValueName(value).Get());
  RegCloseKey(opened);
}

}  // namespace e2e
