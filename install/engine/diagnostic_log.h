// The diagnostic log that /LOG= asks for: UTF-8 text, one line per event, each starting
// with the milliseconds since the installer started. Without /LOG= nothing is written.
// Both the user-interface thread and the install worker write to it.
#pragma once

#include <windows.h>

#include <string>

namespace engine {

// Creates the log (or truncates an older one); false when it cannot be created.
bool OpenDiagnosticLog(const std::string& path);
// One line; `text` is GBK and is written as UTF-8. Nothing happens without a log.
void Diagnose(const std::string& text);

// A failure the user is told of: a message box owned by `owner` (WizardCaption, style
// 0x10) in a wizard, a line of the diagnostic log in an unattended install. The log, if
// there is one, gets the text with the Windows error either way.
void ReportError(bool unattended, HWND owner, const std::string& text, DWORD windowsError);

}  // namespace engine
