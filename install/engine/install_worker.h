#pragma once

#include <windows.h>

namespace engine {

// Thread routine of the install: the parameter is the progress page's WorkerLink, alive
// until the page has joined the thread. Reads the manifest, copies the product files,
// builds folders, shortcuts and registry entries, writes the uninstall log and posts the
// page one final WM_COMMAND: IDM_WORKER_COMPLETED or IDCANCEL (stopped or failed).
DWORD WINAPI InstallWorker(LPVOID workerLink);

}  // namespace engine
