// Keeping DLLs planted beside the programs out of them. The installer is often started
// from a download folder, and the uninstaller's copy runs elevated from the temporary
// folder: anyone may have left a comctl32.dll or uxtheme.dll there.
#pragma once

#include <windows.h>

namespace dll_search {

// Called first of all. Limits the DLL search to the system folder with
// SetDefaultDllDirectories where kernel32 has it (Windows 8 and later, Windows 7 and
// Vista with KB2533623); without it, WithoutDefaultDirectories().
void LoadFromSystemFolderOnly();

// For a Windows without SetDefaultDllDirectories: takes the current folder out of the
// search, then loads the DLLs that the programs and Windows' window and shell code load
// later, each by its full path in the system folder, so that a later load by name finds
// the one already loaded instead of one beside the program.
void WithoutDefaultDirectories();

// A DLL from the system folder, by its full path.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// Registers the progress bar's window class, from comctl32 in the system folder, loaded
// only when a window first needs it.
void RegisterProgressBarClass();

}  // namespace dll_search
