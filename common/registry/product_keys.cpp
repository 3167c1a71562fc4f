#include "common/registry/product_keys.h"

namespace registry {

namespace {

REGSAM ViewFlag(HKEY root, View view) {
  if (root != HKEY_LOCAL_MACHINE) return 0;
  return view == View::k32Bit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

}  // namespace

LONG OpenKey(HKEY root, const char* subkey, View view, REGSAM access, HKEY* key) {
  return RegOpenKeyExA(root, subkey, 0, access | ViewFlag(root, view), key);
}

LONG CreateKey(HKEY root, const char* subkey, View view, HKEY* key) {
  return RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | ViewFlag(root, view), nullptr,
                         key, nullptr);
}

LONG DeleteKey(HKEY root, const char* subkey, View view) {
  return RegDeleteKeyExA(root, subkey, ViewFlag(root, view), 0);
}

}  // namespace registry
