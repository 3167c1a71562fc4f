// Files and folders named in GBK: each function is the W call of its name, the names
// converted through code page 936. A name that is not GBK fails the call with
// ERROR_NO_UNICODE_TRANSLATION, as a name Windows cannot find would fail it.
#pragma once

#include <windows.h>

#include <cstdio>
#include <optional>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

HANDLE CreateFileGbk(const std::string& path, DWORD access, DWORD shareMode, DWORD disposition);
bool DeleteFileGbk(const std::string& path);
bool RemoveDirectoryGbk(const std::string& path);
DWORD GetFileAttributesGbk(const std::string& path);
bool GetFileAttributesExGbk(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data);
bool SetFileAttributesGbk(const std::string& path, DWORD attributes);
// What the kit installs: each folder and file made with the installed rights (security.h)
// as it is created, so that it never exists with other rules. A file that is there already
// is deleted first rather than written through: it keeps its own rules, and could be a link
// to another file; one that cannot be deleted (read-only, in use, a folder) fails the call.
bool CreateInstalledFolderGbk(const std::string& path);
// A new file for writing, which others may only read meanwhile; INVALID_HANDLE_VALUE
// when it cannot be made.
HANDLE CreateInstalledFileGbk(const std::string& path);
// The same as a C stream for binary writing; null when it cannot be made.
std::FILE* CreateInstalledStreamGbk(const std::string& path);
// A copy with CopyFile's outcome: the same bytes, attributes and time of the last change,
// and no part of the copy left when it fails (GetLastError tells why); never read-only,
// though its source on a CD is.
bool CopyToInstalledFileGbk(const std::string& from, const std::string& to);
// A handle closed when it goes (INVALID_HANDLE_VALUE or null: none).
class OwnedHandle {
 public:
  explicit OwnedHandle(HANDLE handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// A new installed file whose bytes `fill` writes through the handle it is given, with the
// same outcome: no part of it left when `fill` fails (its last error stands).
bool FillInstalledFileGbk(const std::string& path, const std::function<bool(HANDLE file)>& fill);
bool GetDiskFreeSpaceGbk(const std::string& root, DWORD& sectorsPerCluster, DWORD& bytesPerSector, DWORD& freeClusters);
// Deletes a file, or removes an empty folder, when Windows next starts (MoveFileEx with
// MOVEFILE_DELAY_UNTIL_REBOOT; administrators only): what another program holds now.
bool DeleteAtRestartGbk(const std::string& path);
bool DeleteAtRestartWide(const std::wstring& path);

// This program's own path; nothing when it does not fit in `maxBytes` (its terminating
// NUL included) or GBK cannot hold it.
std::optional<std::string> ModuleFileNameGbk(std::size_t maxBytes = MAX_PATH);
// The Windows folder; empty when GBK cannot hold it.
std::string WindowsDirectoryGbk();

// Paths that the kit only hands back to Windows, kept as Windows gave them, so that a
// folder GBK cannot name (a Korean user name in the temporary folder's path) still works.
std::optional<std::wstring> ModuleFileNameWide();
bool CopyFileWide(const std::wstring& from, const std::wstring& to, bool failIfExists);
DWORD GetFileAttributesWide(const std::wstring& path);
bool SetFileAttributesWide(const std::wstring& path, DWORD attributes);
bool CreateDirectoryWide(const std::wstring& path);
// A new file for writing; fails when it exists.
HANDLE CreateNewFileWide(const std::wstring& path);

// A whole file mapped read-only into memory, for as long as the object lives; empty
// bytes when it could not be opened or mapped (an empty file among them).
class MappedFile {
 public:
  explicit MappedFile(const std::wstring& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  std::string_view Bytes() const { return bytes_; }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  HANDLE mapping_ = nullptr;
  std::string_view bytes_;
};

// Files that came from a CD: every copy of a read-only file is read-only too, and a
// read-only file refuses to be deleted. The kit's own copies must stay deletable.

// Clears FILE_ATTRIBUTE_READONLY from `path` when `attributes` (the file's, read a moment
// ago) hold it, and keeps every other attribute.
void ClearReadOnly(const std::string& path, DWORD attributes);
// The same, reading the attributes first; for a path Windows gave.
void ClearReadOnly(const std::wstring& path);

// DeleteFile, and once more after clearing the read-only attribute when that is what
// refused it. GetLastError tells why when it answers false.
bool DeleteFileAlways(const std::string& path);

// Whether nothing is at `path` any more (not found, or its folder not found).
bool IsGone(DWORD windowsError);

// Reading a file whole, the way every reader of the kit takes its input, and writing one
// of the install whole.

// The file's bytes, read at once and the file closed again; at most `maxBytes` of them.
// Nothing when the file cannot be opened (existing files only) with `shareMode`. Bytes
// that cannot be read after a successful open are left out.
std::optional<std::string> ReadWholeFile(const std::string& path, DWORD shareMode = FILE_SHARE_READ,
                                         std::size_t maxBytes = 0x7FFFFFFF);

// Writes exactly these bytes to a file of the install, created with the installed rights
// (an existing one replaced); false when it cannot.
bool WriteInstalledFile(const std::string& path, const std::string& bytes);

}  // namespace platform
