// The one window that each stand-in product program shows.
#pragma once

namespace sample {

// Shows a top-level window titled `title` until it is closed. When `closeOnRequest` is
// above 0, the window closes on that many-th posted WM_COMMAND kReviewMonitorCloseCommand
// (the kit's close request); 0 ignores the requests. When a start log is named (below),
// `programName` is appended to it as one line at start, so that tests can see which
// programs were started and in which order. The exit code is the
// number of close requests the window received. With `lingerRetitled`, the window only
// loses its title on that request and stays until WM_CLOSE, still counting requests, so
// that a test sees any request posted after the window was gone by its title.
int RunTitledWindow(const char* programName, const char* title, int closeOnRequest, bool lingerRetitled = false);

// Appends `programName` as one line to the start log, if one is named: by the environment
// variable QUENDRAL_STANDIN_LOG, or, for a program that the desktop's shell started with
// its own environment, by the value kStartLogValue of HKEY_CURRENT_USER\kStartLogKey.
inline constexpr wchar_t kStartLogKey[] = L"Software\\Quendral stand-ins";
inline constexpr wchar_t kStartLogValue[] = L"StartLog";
void NoteStart(const char* programName);

}  // namespace sample
