#include "common/files/read_only.h"
#include "common/platform/files.h"

namespace files {

namespace {

bool IsReadOnly(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The attributes to set instead: all others kept, and "normal" when none is left.
DWORD WithoutReadOnly(DWORD attributes) {
  const DWORD rest = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return rest != 0 ? rest : FILE_ATTRIBUTE_NORMAL;
}

}  // namespace

void ClearReadOnly(const std::string& path, DWORD attributes) {
  if (IsReadOnly(attributes)) platform::SetFileAttributesGbk(path, WithoutReadOnly(attributes));
}

void ClearReadOnly(const std::string& path) { ClearReadOnly(path, platform::GetFileAttributesGbk(path)); }

void ClearReadOnly(const std::wstring& path) {
  const DWORD attributes = platform::GetFileAttributesWide(path);
  if (IsReadOnly(attributes)) platform::SetFileAttributesWide(path, WithoutReadOnly(attributes));
}

bool DeleteFileAlways(const std::string& path) {
  if (platform::DeleteFileGbk(path)) return true;
  const DWORD refusal = GetLastError();
  const DWORD attributes =
      refusal == ERROR_ACCESS_DENIED ? platform::GetFileAttributesGbk(path) : INVALID_FILE_ATTRIBUTES;
  if (!IsReadOnly(attributes)) {
    SetLastError(refusal);
    return false;
  }
  ClearReadOnly(path, attributes);
  return platform::DeleteFileGbk(path);
}

bool IsGone(DWORD windowsError) { return windowsError == ERROR_FILE_NOT_FOUND || windowsError == ERROR_PATH_NOT_FOUND; }

}  // namespace files
