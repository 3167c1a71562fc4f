// The two runs of the uninstaller.
#pragma once

#include <windows.h>

#include <string>

#include "product/exit_codes.h"

namespace uninstall {

// Exit codes of an unattended removal (/S); every interactive path ends with 0.
using ExitCode = exit_codes::uninstaller::Code;
using namespace exit_codes::uninstaller;

// In an unattended removal, the environment variable through which the first run hands
// its copy the write end of a pipe: the copy writes its exit code there once the files
// and registry entries are gone.
inline constexpr char kReportPipeVariable[] = "QUENDRAL_UNINSTALL_REPORT";

// Run by the user with no argument: asks, makes sure the product is not running, copies
// this program into a new private folder of the temporary folder and starts the copy
// with the log path. Both runs hold the product line's setup lock, the copy taking it over.
void FirstRun();

// Run with /S by a deployment system: the first run without question, message box or
// window. It waits for the copy's report and answers the exit code it reports.
ExitCode UnattendedFirstRun();

// Run by that copy: removes the files and registry entries the log lists (those another
// program holds at the next restart), then the installed program, the log and the
// folders, so that a removal ended part-way can be run again; then shows the finish
// page. Unattended (a report pipe in the environment), it reports before the installed
// program goes, shows nothing and answers its exit code.
ExitCode RemovalRun(const std::string& logPath);

// The finish page from template IDD_UNINSTALL_FINISH; returns when Finish or the close box ends it.
void ShowFinishPage();

}  // namespace uninstall
