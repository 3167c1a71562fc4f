#include "common/platform/registry.h"

#include <vector>

#include "common/platform/gbk_text.h"
#include "common/platform/machine_changes.h"

namespace platform {

LONG RegOpenKeyExGbk(HKEY root, const std::string& subkey, REGSAM access, HKEY* key) {
  const WideName name(subkey);
  if (!name.Valid()) return ERROR_NO_UNICODE_TRANSLATION;
  return RegOpenKeyExW(root, name.Get(), 0, access, key);
}

LONG RegCreateKeyExGbk(HKEY root, const std::string& subkey, REGSAM access, HKEY* key) {
  const WideName name(subkey);
  if (!name.Valid()) return ERROR_NO_UNICODE_TRANSLATION;
  return ReportedRegistryChange(
      RegCreateKeyExW(root, name.Get(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key, nullptr));
}

LONG RegDeleteKeyExGbk(HKEY root, const std::string& subkey, REGSAM view) {
  const WideName name(subkey);
  if (!name.Valid()) return ERROR_NO_UNICODE_TRANSLATION;
  return ReportedRegistryChange(RegDeleteKeyExW(root, name.Get(), view, 0));
}

LONG RegDeleteValueGbk(HKEY key, const std::string& name) {
  const WideName value(name);
  if (!value.Valid()) return ERROR_NO_UNICODE_TRANSLATION;
  return ReportedRegistryChange(RegDeleteValueW(key, value.Get()));
}

std::optional<std::string> RegQueryStringGbk(HKEY key, const std::string& name, std::size_t maxBytes) {
  const WideName value(name);
  if (!value.Valid()) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, value.Get(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, value.Get(), nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::wstring text(data.data());  // up to its first NUL
  std::optional<std::string> gbk = GbkFromWide(text);
  if (!gbk || gbk->size() + 1 > maxBytes) return std::nullopt;
  return gbk;
}

LONG RegSetStringGbk(HKEY key, const std::string& name, const std::string& data) {
  const WideName value(name);
  if (!value.Valid()) return ERROR_NO_UNICODE_TRANSLATION;
  const std::wstring text = ShownText(data);
  return ReportedRegistryChange(RegSetValueExW(key, value.Get(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

LONG RegSetDwordGbk(HKEY key, const std::string& name, DWORD data) {
  const WideName value(name);
  if (!value.Valid()) return ERROR_NO_UNICODE_TRANSLATION;
  return ReportedRegistryChange(
      RegSetValueExW(key, value.Get(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data));
}

}  // namespace platform
