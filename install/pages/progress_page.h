// Page 5: runs the install on a worker thread; Cancel holds the copy and asks; a stop or
// a failure is rolled back through the uninstall log.
#pragma once

#include "resources/installer_texts.h"
#include "install/pages/wizard_page.h"
#include "install/engine/worker_link.h"

namespace pages {

class ProgressPage : public WizardPage, public engine::WorkerLink {
 public:
  explicit ProgressPage(engine::InstallerState& state);
  ~ProgressPage() override;

 protected:
  void ExchangeData(framework::DataExchange& exchange) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;
  bool OnPaint() override;
  painting::Decoration PageDecoration() const override { return HeaderBand(texts::kProgressTitle, ""); }

 private:
  void Start();
  void WorkerCompleted();
  void JoinWorker();
};

}  // namespace pages
