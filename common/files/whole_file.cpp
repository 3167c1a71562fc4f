#include "common/files/whole_file.h"

namespace files {

std::optional<std::string> ReadWholeFile(const std::string& path, DWORD shareMode, std::size_t maxBytes) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace files
