#include "common/registry_view/product_line_view.h"
#include "common/platform/registry.h"

namespace registry_view {

namespace {

REGSAM ViewFlag(HKEY root, View view) {
  if (root != HKEY_LOCAL_MACHINE) return 0;
  return view == View::k32Bit ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
}

}  // namespace

LONG OpenKey(HKEY root, const char* subkey, View view, REGSAM access, HKEY* key) {
  return platform::RegOpenKeyExGbk(root, subkey, access | ViewFlag(root, view), key);
}

LONG CreateKey(HKEY root, const char* subkey, View view, HKEY* key) {
  return platform::RegCreateKeyExGbk(root, subkey, KEY_WRITE | ViewFlag(root, view), key);
}

LONG DeleteKey(HKEY root, const char* subkey, View view) {
  return platform::RegDeleteKeyExGbk(root, subkey, ViewFlag(root, view));
}

}  // namespace registry_view
