// The user messages as modal message boxes, parented to the active window.
#pragma once

#include "app/core/messages.h"

namespace kvqt::ui {

class QtMessages : public UserMessages {
 public:
  void show(const std::string& text, const std::string& caption, MessageButton button) override;
  bool ask(const std::string& text) override;
};

}  // namespace kvqt::ui
