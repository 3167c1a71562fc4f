// Files and folders as a test sees them.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "e2e_driver/wide.h"

namespace e2e {

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Writes exactly these bytes, creating or replacing the file.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
void MakeFolders(const std::string& path);  // with every missing parent
// Deletes the folder with everything in it; read-only files too.
void RemoveTree(const std::string& path);
void CopyOrDie(const std::string& from, const std::string& to);
// The temporary folder, with a trailing backslash, where the uninstaller places its copy.
std::string TempFolder();

// The users a file's or folder's access rules let in, as SIDs in text form ("S-1-5-18").
std::vector<std::string> AllowedUsers(const std::string& path);
// Gives everyone full access to a folder, as a drive's root lets every user add files.
void OpenToEveryone(const std::string& folder);

// Every file (with its size) and folder (size -1) under `root`, by path relative to it,
// down to `depth` levels.
std::map<std::string, long long> ListTree(const std::string& root, int depth = 1000);

// The SHA-256 of `bytes`, by Windows' own cryptography.
std::array<unsigned char, 32> Sha256Of(const std::string& bytes);

// Whether the program carries an Authenticode signature (its PE security directory).
bool HasSignature(const std::string& program);
// A text of the program's version resource (language 0x0804, Unicode), converted to GBK.
std::string VersionText(const std::string& program, const std::string& name);

}  // namespace e2e
