#include "maintenance/wizard_flow.h"

#include "maintenance/wizard_formats.h"

namespace kvqt {

int WizardFlow::setupFormatId() const {
  return page_ == WizardPage::FormatSetup ? setupFormats_[static_cast<std::size_t>(setupIndex_)] : -1;
}

void WizardFlow::setTicked(int boxId, bool ticked) {
  if (ticked) ticked_.insert(boxId);
  else ticked_.erase(boxId);
}

bool WizardFlow::next() {
  switch (page_) {
    case WizardPage::Language: page_ = WizardPage::User; break;
    case WizardPage::User: page_ = WizardPage::Formats; break;
    case WizardPage::Formats:
      setupFormats_ = WizardSetupFormats(std::vector<int>(ticked_.begin(), ticked_.end()));
      setupIndex_ = 0;
      page_ = setupFormats_.empty() ? WizardPage::Finish : WizardPage::FormatSetup;
      break;
    case WizardPage::FormatSetup:
      if (++setupIndex_ >= static_cast<int>(setupFormats_.size())) page_ = WizardPage::Finish;
      break;
    case WizardPage::Finish: return true;
  }
  return false;
}

void WizardFlow::back() {
  switch (page_) {
    case WizardPage::Language: break;
    case WizardPage::User: page_ = WizardPage::Language; break;
    case WizardPage::Formats: page_ = WizardPage::User; break;
    case WizardPage::FormatSetup:
      if (--setupIndex_ < 0) page_ = WizardPage::Formats;
      break;
    case WizardPage::Finish:
      if (setupFormats_.empty()) {
        page_ = WizardPage::Formats;
      } else {
        setupIndex_ = static_cast<int>(setupFormats_.size()) - 1;
        page_ = WizardPage::FormatSetup;
      }
      break;
  }
}

}  // namespace kvqt
