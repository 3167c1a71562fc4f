#include "common/platform/files.h"

#include <fcntl.h>
#include <io.h>

#include <vector>

#include "common/platform/gbk_text.h"
#include "common/platform/machine_changes.h"
#include "common/platform/security.h"

namespace platform {

HANDLE CreateFileGbk(const std::string& path, DWORD access, DWORD shareMode, DWORD disposition) {
  const WideName name(path);
  if (!name.Valid()) return INVALID_HANDLE_VALUE;
  HANDLE file = CreateFileW(name.Get(), access, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  // Opening an existing file changes nothing yet; creating or truncating one does.
  if (disposition != OPEN_EXISTING) ReportedChange(file != INVALID_HANDLE_VALUE);
  return file;
}

namespace {

bool IsReadOnly(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The attributes to set instead: all others kept, and "normal" when none is left.
DWORD WithoutReadOnly(DWORD attributes) {
  const DWORD rest = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return rest != 0 ? rest : FILE_ATTRIBUTE_NORMAL;
}

// A new file with the installed rights, an existing one deleted first; not reported, so
// that each caller reports its whole change once.
HANDLE NewInstalledFile(const wchar_t* name) {
  const auto create = [name] {
    // Others may read it meanwhile (the uninstall log as it grows), as they could before.
    return CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ, InstalledFileRights(), CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
  };
  HANDLE file = create();
  if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  if (!ReportedChange(DeleteFileW(name))) return INVALID_HANDLE_VALUE;
  return create();
}

// Writes all of `bytes`; false when the file took less.
bool WriteAll(HANDLE file, const char* bytes, DWORD count) {
  DWORD written = 0;
  return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

// Reads the source to its end into the new file; the error of the call that failed stays set.
bool CopyContents(HANDLE from, HANDLE to) {
  constexpr DWORD kChunkBytes = 1 << 20;
  // One buffer a thread for all its copies: a megabyte allocated for each small file would
  // cost more than the copy.
  thread_local std::vector<char> chunk(kChunkBytes);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(from, chunk.data(), kChunkBytes, &read, nullptr)) return false;
    if (read == 0) return true;
    if (!WriteAll(to, chunk.data(), read)) return false;
  }
}

// Gives the copy its source's attributes and time of the last change, as CopyFile does, but
// never read-only: every file of a CD is, and the kit's removals must delete its copies.
bool TakeOverAttributes(HANDLE to, const FILE_BASIC_INFO& source) {
  FILE_BASIC_INFO basic{};
  basic.LastWriteTime = source.LastWriteTime;
  basic.FileAttributes = WithoutReadOnly(source.FileAttributes);
  return SetFileInformationByHandle(to, FileBasicInfo, &basic, sizeof basic);
}

}  // namespace

bool CreateInstalledFolderGbk(const std::string& path) {
  const WideName name(path);
  return ReportedChange(name.Valid() && CreateDirectoryW(name.Get(), InstalledFolderRights()));
}

HANDLE CreateInstalledFileGbk(const std::string& path) {
  const WideName name(path);
  if (!name.Valid()) return INVALID_HANDLE_VALUE;
  HANDLE file = NewInstalledFile(name.Get());
  ReportedChange(file != INVALID_HANDLE_VALUE);
  return file;
}

std::FILE* CreateInstalledStreamGbk(const std::string& path) {
  HANDLE file = CreateInstalledFileGbk(path);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (descriptor == -1) {
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(descriptor, "wb");
  if (stream == nullptr) _close(descriptor);
  return stream;
}

bool FillInstalledFileGbk(const std::string& path, const std::function<bool(HANDLE file)>& fill) {
  const WideName target(path);
  if (!target.Valid()) return false;
  HANDLE output = NewInstalledFile(target.Get());
  bool filled = output != INVALID_HANDLE_VALUE && fill(output);
  const DWORD error = GetLastError();
  if (output != INVALID_HANDLE_VALUE) {
    filled = CloseHandle(output) && filled;
    if (!filled) DeleteFileW(target.Get());  // never half a file, as CopyFile leaves none
  }
  SetLastError(filled ? ERROR_SUCCESS : error);
  return ReportedChange(filled);
}

bool CopyToInstalledFileGbk(const std::string& from, const std::string& to) {
  const WideName source(from);
  if (!source.Valid()) return false;
  HANDLE input = CreateFileW(source.Get(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (input == INVALID_HANDLE_VALUE) return false;
  // Not GetFileInformationByHandle, which also asks for the volume's serial number, at a
  // cost that doubles the copy of a small file under Wine.
  FILE_BASIC_INFO info{};
  const bool copied = GetFileInformationByHandleEx(input, FileBasicInfo, &info, sizeof info) &&
                      FillInstalledFileGbk(to, [&](HANDLE output) {
                        return CopyContents(input, output) && TakeOverAttributes(output, info);
                      });
  const DWORD error = GetLastError();
  CloseHandle(input);
  SetLastError(error);
  return copied;
}

bool DeleteFileGbk(const std::string& path) {
  const WideName name(path);
  return ReportedChange(name.Valid() && DeleteFileW(name.Get()));
}

bool RemoveDirectoryGbk(const std::string& path) {
  const WideName name(path);
  return ReportedChange(name.Valid() && RemoveDirectoryW(name.Get()));
}

DWORD GetFileAttributesGbk(const std::string& path) {
  const WideName name(path);
  return name.Valid() ? GetFileAttributesW(name.Get()) : INVALID_FILE_ATTRIBUTES;
}

bool GetFileAttributesExGbk(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  const WideName name(path);
  return name.Valid() && GetFileAttributesExW(name.Get(), GetFileExInfoStandard, &data);
}

bool SetFileAttributesGbk(const std::string& path, DWORD attributes) {
  const WideName name(path);
  return name.Valid() && SetFileAttributesW(name.Get(), attributes);
}

bool GetDiskFreeSpaceGbk(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                         DWORD& freeClusters) {
  const WideName name(root);
  return name.Valid() && GetDiskFreeSpaceW(name.Get(), &sectorsPerCluster, &bytesPerSector, &freeClusters, nullptr);
}

bool DeleteAtRestartWide(const std::wstring& path) {
  return ReportedChange(MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

bool DeleteAtRestartGbk(const std::string& path) {
  const WideName name(path);
  return name.Valid() && DeleteAtRestartWide(name.Get());
}

std::optional<std::wstring> ModuleFileNameWide() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::nullopt;
    if (length < path.size()) return std::wstring(path.data(), length);
    path.resize(path.size() * 2);  // cut short: a longer path (\\?\ forms) needs more room
  }
}

std::optional<std::string> ModuleFileNameGbk(std::size_t maxBytes) {
  const std::optional<std::wstring> wide = ModuleFileNameWide();
  std::optional<std::string> path = wide ? GbkFromWide(*wide) : std::nullopt;
  if (!path || path->size() >= maxBytes) return std::nullopt;
  return path;
}

std::string WindowsDirectoryGbk() {
  wchar_t folder[MAX_PATH] = L"";
  const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return GbkFromWide(std::wstring_view(folder, length)).value_or("");
}

bool CopyFileWide(const std::wstring& from, const std::wstring& to, bool failIfExists) {
  return ReportedChange(CopyFileW(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE));
}

DWORD GetFileAttributesWide(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool SetFileAttributesWide(const std::wstring& path, DWORD attributes) {
  return SetFileAttributesW(path.c_str(), attributes);
}

bool CreateDirectoryWide(const std::wstring& path) { return ReportedChange(CreateDirectoryW(path.c_str(), nullptr)); }

HANDLE CreateNewFileWide(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ReportedChange(file != INVALID_HANDLE_VALUE);
  return file;
}

// Others may read the file meanwhile, as Explorer does; nobody may change it.
MappedFile::MappedFile(const std::wstring& path)
    : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {
  LARGE_INTEGER size{};
  if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size) || size.QuadPart == 0) return;
  mapping_ = CreateFileMappingW(file_, nullptr, PAGE_READONLY, 0, 0, nullptr);
  const void* view = mapping_ != nullptr ? MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0) : nullptr;
  if (view != nullptr)
    bytes_ = std::string_view(static_cast<const char*>(view), static_cast<std::size_t>(size.QuadPart));
}

MappedFile::~MappedFile() {
  if (!bytes_.empty()) UnmapViewOfFile(bytes_.data());
  if (mapping_ != nullptr) CloseHandle(mapping_);
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void ClearReadOnly(const std::string& path, DWORD attributes) {
  if (IsReadOnly(attributes)) SetFileAttributesGbk(path, WithoutReadOnly(attributes));
}

void ClearReadOnly(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesWide(path);
  if (IsReadOnly(attributes)) SetFileAttributesWide(path, WithoutReadOnly(attributes));
}

bool DeleteFileAlways(const std::string& path) {
  if (DeleteFileGbk(path)) return true;
  const DWORD refusal = GetLastError();
  const DWORD attributes = refusal == ERROR_ACCESS_DENIED ? GetFileAttributesGbk(path) : INVALID_FILE_ATTRIBUTES;
  if (!IsReadOnly(attributes)) {
    SetLastError(refusal);
    return false;
  }
  ClearReadOnly(path, attributes);
  return DeleteFileGbk(path);
}

bool IsGone(DWORD windowsError) { return windowsError == ERROR_FILE_NOT_FOUND || windowsError == ERROR_PATH_NOT_FOUND; }

std::optional<std::string> ReadWholeFile(const std::string& path, DWORD shareMode, std::size_t maxBytes) {
  HANDLE file = CreateFileGbk(path, GENERIC_READ, shareMode, OPEN_EXISTING);
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
  HANDLE file = CreateInstalledFileGbk(path);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = ReportedChange(
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
  CloseHandle(file);
  return whole;
}

}  // namespace platform
