// Registry keys and values named in GBK: the W calls, names and string data converted
// through code page 936, so a value holds the Unicode of its GBK text on every Windows.
// A name that is not GBK fails with ERROR_NO_UNICODE_TRANSLATION.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace platform {

// `access` carries the registry view flag, where one is wanted.
LONG RegOpenKeyExGbk(HKEY root, const std::string& subkey, REGSAM access, HKEY* key);
LONG RegCreateKeyExGbk(HKEY root, const std::string& subkey, REGSAM access, HKEY* key);
LONG RegDeleteKeyExGbk(HKEY root, const std::string& subkey, REGSAM view);
LONG RegDeleteValueGbk(HKEY key, const std::string& name);

// A string value as GBK; nothing when it is missing, not a string, longer than `maxBytes`
// in GBK with its terminating NUL (the size of the buffer an A call would have had), or
// not GBK.
std::optional<std::string> RegQueryStringGbk(HKEY key, const std::string& name, std::size_t maxBytes);
LONG RegSetStringGbk(HKEY key, const std::string& name, const std::string& data);
LONG RegSetDwordGbk(HKEY key, const std::string& name, DWORD data);

}  // namespace platform
