#include "common/files/whole_file.h"
#include "common/platform/files.h"
#include "common/platform/machine_changes.h"

namespace files {

std::optional<std::string> ReadWholeFile(const std::string& path, DWORD shareMode, std::size_t maxBytes) {
  HANDLE file = platform::CreateFileGbk(path, GENERIC_READ, shareMode, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  std::size_t wanted = 0;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
    wanted =
        static_cast<unsigned long long>(size.QuadPart) < maxBytes ? static_cast<std::size_t>(size.QuadPart) : maxBytes;
  }
  std::string bytes(wanted, '\0');
  DWORD read = 0;
  if (wanted > 0 && !ReadFile(file, bytes.data(), static_cast<DWORD>(wanted), &read, nullptr)) {
    read = 0;
  }
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

bool WriteInstalledFile(const std::string& path, const std::string& bytes) {
  HANDLE file = platform::CreateInstalledFileGbk(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = platform::ReportedChange(
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
  CloseHandle(file);
  return whole;
}

}  // namespace files
