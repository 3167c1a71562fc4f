// A folder of the temporary folder that only this program's user and the system may use:
// where the kit puts a program it runs from there (the uninstaller's copy), so that no
// other user of the machine can prepare, swap or hold the file before it runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The temporary folder, with its trailing backslash: from GetTempPath2W where Windows has
// it (SYSTEM then gets C:\Windows\SystemTemp, which only SYSTEM may open), else
// GetTempPathW. Kept as Windows gives it: the kit only hands it back.
std::optional<std::wstring> TemporaryFolderWide();

// Makes a new folder there, named by the system's random generator, with its access
// rules set as it is made: full access for SYSTEM, the administrators and this user,
// nothing for anyone else, nothing inherited from the temporary folder. A name that is
// taken is never used: another is drawn. The files named in `goAtRestart` (which the
// caller puts there next) and then the folder (unless `folderGoesAtRestart` is false: a
// folder of many files, which no restart could remove) are scheduled for deletion at the
// next restart before the folder is made, so that not even a program ended the moment
// after leaves it for good. Answers the folder with a trailing backslash.
std::optional<std::wstring> CreatePrivateTempFolder(const std::vector<std::wstring>& goAtRestart = {},
                                                    bool folderGoesAtRestart = true);

// Removes such a folder with everything in it (read-only files too). False when something
// in it could not be removed: what a program still holds stays.
bool RemovePrivateTempFolder(const std::wstring& folder);

}  // namespace platform
