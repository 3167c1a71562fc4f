// The registry keys of the product line under HKEY_LOCAL_MACHINE: the Uninstall entries,
// the Run value and every key a log names. The line's earlier kits were 32-bit programs,
// so on 64-bit Windows their keys live in the 32-bit view (WOW6432Node); this kit keeps
// its own there too, so that every kit of the line, 32- or 64-bit, finds every other.
#pragma once

#include <windows.h>

namespace registry_view {

enum class View { k32Bit, k64Bit };

// Where this kit writes and removes its own entries.
inline constexpr View kProductLineView = View::k32Bit;

// RegOpenKeyEx, RegCreateKeyEx and RegDeleteKeyEx of `subkey` under `root` in `view`.
// Only HKEY_LOCAL_MACHINE is split into views here; other roots are opened as they are.
LONG OpenKey(HKEY root, const char* subkey, View view, REGSAM access, HKEY* key);
LONG CreateKey(HKEY root, const char* subkey, View view, HKEY* key);
LONG DeleteKey(HKEY root, const char* subkey, View view);

}  // namespace registry_view
