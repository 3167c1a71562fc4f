// Files that came from a CD: every copy of a read-only file is read-only too, and a
// read-only file refuses to be deleted. The kit's own copies must stay deletable.
#pragma once

#include <windows.h>

#include <string>

namespace files {

// Clears FILE_ATTRIBUTE_READONLY from `path` when `attributes` (the file's, read a moment
// ago) hold it, and keeps every other attribute.
void ClearReadOnly(const std::string& path, DWORD attributes);
// The same, reading the attributes first; for a GBK path or one Windows gave.
void ClearReadOnly(const std::string& path);
void ClearReadOnly(const std::wstring& path);

// DeleteFile, and once more after clearing the read-only attribute when that is what
// refused it. GetLastError tells why when it answers false.
bool DeleteFileAlways(const std::string& path);

// Whether nothing is at `path` any more (not found, or its folder not found).
bool IsGone(DWORD windowsError);

}  // namespace files
