#include "install/pages/progress_page.h"

#include <commctrl.h>

#include "common/gbk/gbk_search.h"
#include "common/dll_search/system_dlls.h"
#include "install/engine/diagnostic_log.h"
#include "resources/installer_texts.h"
#include "install/engine/copy_profile.h"
#include "install/engine/install_worker.h"
#include "install/engine/replay_uninstall_log.h"
#include "install/pages/painted_on_timer.h"
#include "product/product_facts.h"
#include "resources/install_ids.h"

namespace pages {

ProgressPage::ProgressPage(engine::InstallerState& state) : WizardPage(IDD_PROGRESS, state) {
  // Loaded only now: the pages before need none of comctl32, and start-up is the shorter for it.
  dll_search::RegisterProgressBarClass();
  FlagsChanged = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  OnCommandId(IDM_START_WORKER, [this] { Start(); });
  OnCommandId(engine::kWorkerCompleted, [this] { WorkerCompleted(); });
}

void ProgressPage::ExchangeData(framework::DataExchange& exchange) {
  exchange.Control(IDC_STATUS_TEXT, StatusText);
  exchange.Control(IDC_PROGRESS_BAR, ProgressBar);
}

BOOL ProgressPage::OnInitDialog() {
  WizardPage::OnInitDialog();
  PageWindow = Window();
  Context = &State();
  PaintOnTimer(StatusText);
  PaintOnTimer(ProgressBar);
  AbortRequested = 0;
  // Posted messages come before input, so the install starts before any click is seen.
  PostMessageW(Window(), WM_COMMAND, IDM_START_WORKER, 0);
  return TRUE;
}

void ProgressPage::Start() {
  // One trailing separator goes (D:\ becomes D:), but never the trail byte of a GBK
  // character that happens to be 0x5C.
  std::string& target = State().TargetDir;
  if (!target.empty() && (target.back() == '/' || gbk::FindLastBackslash(target) == target.size() - 1)) {
    target.pop_back();
  }
  WorkerRunning = 1;
  WorkerThread = CreateThread(nullptr, 0, engine::InstallWorker, static_cast<engine::WorkerLink*>(this), 0, nullptr);
  if (WorkerThread == nullptr) {
    // Handled like a failed install: rolled back, and the wizard ends.
    WorkerRunning = 0;
    AbortRequested = 1;
    PostMessageW(Window(), WM_COMMAND, engine::kWorkerStopped, 0);
  }
}

void ProgressPage::WorkerCompleted() {
  State().InstallCompleted = true;
  State().WizardDirection = framework::kDirectionNext;
  JoinWorker();
  OnOK();
}

ProgressPage::~ProgressPage() {
  JoinWorker();
  if (FlagsChanged != nullptr) CloseHandle(FlagsChanged);
}

void ProgressPage::JoinWorker() {
  if (WorkerThread == nullptr) return;
  WaitForSingleObject(WorkerThread, INFINITE);
  CloseHandle(WorkerThread);
  WorkerThread = nullptr;
}

void ProgressPage::OnCancel() {
  const int runningBefore = WorkerRunning;
  PauseRequested = 1;
  if (runningBefore == 1 && !UserWantsToStop()) {
    PauseRequested = 0;
    SetEvent(FlagsChanged);
    return;
  }
  const int runningAfter = WorkerRunning;
  PauseRequested = 0;
  if (runningAfter == 1) {
    // The worker stops after its current file and posts IDCANCEL, which lands here again.
    AbortRequested = 1;
    SetEvent(FlagsChanged);
    return;
  }
  JoinWorker();
  const std::string logPath = State().TargetDir + "\\" + product::kUninstallLogFile;
  engine::Diagnose("rolling the install back through " + logPath);
  engine::ReplayUninstallLog(logPath, uninstall_log::HeldFiles::kLeave);
  EndPage(IDCANCEL);
}

bool ProgressPage::OnPaint() {
  const engine::ProfileTimer timer(engine::ProfileStep::kPainting);
  return WizardPage::OnPaint();
}

}  // namespace pages
