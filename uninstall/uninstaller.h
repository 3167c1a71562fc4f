// The two runs of the uninstaller.
#pragma once

#include <windows.h>

#include <string>

namespace uninstall {

// Run by the user with no argument: asks, makes sure the product is not running, copies
// this program to the temporary folder and starts the copy with the log path.
void FirstRun();

// Run by that copy: removes what the log lists, then shows the finish page.
void RemovalRun(const std::string& logPath);

// The finish page from template IDD_UNINSTALL_FINISH; returns when Finish or the close box ends it.
void ShowFinishPage();

}  // namespace uninstall
