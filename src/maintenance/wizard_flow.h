// The configuration wizard's page order: language, user, formats, one setup
// page per ticked format (in box id order), finish.
#pragma once

#include <set>
#include <vector>

namespace kvqt {

enum class WizardPage { Language, User, Formats, FormatSetup, Finish };

class WizardFlow {
 public:
  WizardPage page() const { return page_; }
  // The format of the setup page shown; -1 on the other pages.
  int setupFormatId() const;
  const std::vector<int>& setupFormats() const { return setupFormats_; }

  // The formats page's check boxes, kept while the wizard runs.
  void setTicked(int boxId, bool ticked);
  bool ticked(int boxId) const { return ticked_.count(boxId) != 0; }

  // Next (Finish on the last page): true when the wizard has ended.
  bool next();
  // Back: the previous page; nothing before the first.
  void back();
  // Which buttons the page has.
  bool hasBack() const { return page_ != WizardPage::Language; }
  bool hasCancel() const { return page_ != WizardPage::Finish; }
  bool isFinish() const { return page_ == WizardPage::Finish; }

 private:
  WizardPage page_ = WizardPage::Language;
  std::set<int> ticked_;
  std::vector<int> setupFormats_;
  int setupIndex_ = -1;
};

}  // namespace kvqt
