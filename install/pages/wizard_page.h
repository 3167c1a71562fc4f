// What every wizard page shares: its caption, its place in the page sequence and the
// Back, Next and cancel-question handlers.
#pragma once

#include "common/painting/page_painting.h"
#include "install/engine/installer_state.h"
#include "install/framework/modal_dialog.h"
#include "install/framework/sequenced_page.h"

namespace pages {

class WizardPage : public framework::ModalDialog, public framework::SequencedPage {
 public:
  WizardPage(int templateId, engine::InstallerState& state) : ModalDialog(templateId), state_(state) {}
  std::intptr_t ShowModal() override { return RunModal(); }

 protected:
  // The installer's process-wide state, which the application object owns.
  engine::InstallerState& State() const { return state_; }

  // The framework's initialisation, then the caption becomes the installer's and the
  // texts the page paints become children a screen reader reads.
  BOOL OnInitDialog() override;
  // Paints the page's decoration.
  bool OnPaint() override;
  // What the page paints under its controls.
  virtual painting::Decoration PageDecoration() const = 0;

  // Direction back, then the OK action.
  void GoBack();
  // Direction next, then the OK action.
  void GoNext();
  // Asks whether to stop the install (kStopInstallQuestion); only No answers false.
  bool UserWantsToStop();
  // UserWantsToStop; Yes ends the page cancelled, No keeps it open.
  void ConfirmCancel();

  void FocusControl(int id);
  // The two decorations, for PageDecoration.
  static painting::Decoration HeaderBand(const char* title, const char* subtitle);
  static painting::Decoration BannerPage(const char* title, const char* body);

 private:
  engine::InstallerState& state_;
};

}  // namespace pages
