#include "common/files/read_only.h"

namespace files {

void ClearReadOnly(const std::string& path, DWORD attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) return;
  const DWORD rest = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(path.c_str(), rest != 0 ? rest : FILE_ATTRIBUTE_NORMAL);
}

void ClearReadOnly(const std::string& path) { ClearReadOnly(path, GetFileAttributesA(path.c_str())); }

bool DeleteFileAlways(const std::string& path) {
  if (DeleteFileA(path.c_str())) return true;
  const DWORD refusal = GetLastError();
  const DWORD attributes = refusal == ERROR_ACCESS_DENIED ? GetFileAttributesA(path.c_str()) : INVALID_FILE_ATTRIBUTES;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
    SetLastError(refusal);
    return false;
  }
  ClearReadOnly(path, attributes);
  return DeleteFileA(path.c_str()) != FALSE;
}

bool IsGone(DWORD windowsError) {
  return windowsError == ERROR_FILE_NOT_FOUND || windowsError == ERROR_PATH_NOT_FOUND;
}

}  // namespace files
