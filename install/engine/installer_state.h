// The installer's process-wide state, filled at start-up and shared by the wizard's pages
// and the install worker. All strings are GBK bytes.
#pragma once

#include <windows.h>

#include "resources/product_version.h"

#include <string>
#include <vector>

namespace app {

// The installer's own folder, with a trailing backslash.
extern std::string SourceDir;
// The install folder; without a trailing backslash once the copy starts.
extern std::string TargetDir;
// Folders created during this run, in creation order, so that they can be undone. Only
// the install worker touches it while it runs.
extern std::vector<std::string> CreatedDirs;
extern OSVERSIONINFOW OsVersion;
// Direction of the last page exit: 0 back, 1 next.
extern int WizardDirection;
// An unattended install (/S): no page and no message box is ever shown.
extern bool Unattended;
// Set by the install worker when a failure stopped the install (it is then rolled back).
extern bool InstallFailed;

inline constexpr char ProductTitle[] = "Quendral1.3";
inline constexpr char WizardCaption[] = "Quendral1.3安装程序";
// The version being installed, as major * 10 + minor.
inline constexpr int ProductVersion = KIT_PRODUCT_VERSION;

// Message box styles of the installer.
inline constexpr UINT kErrorBox = MB_OK | MB_ICONHAND;
inline constexpr UINT kQuestionBox = MB_YESNO | MB_ICONQUESTION;

}  // namespace app
