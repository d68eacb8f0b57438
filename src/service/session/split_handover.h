// The step a session hands over to, when the user asked for split factors,
// before the import writes the new prices: the data maintenance checks the
// local data files against the split factors that came with the result. The
// maintenance fills this in (InstallSplitFactorStep); while it is empty the
// session goes straight to the import.
#pragma once

#include "app/runner/step_runner.h"

namespace kvqt::session {

struct SplitFactorStep {
  StepFunction step = nullptr;
  int total = 0;
  // Makes `followUp`, with its total, the step that takes over after it.
  void (*setFollowUp)(StepFunction followUp, int total) = nullptr;
};

inline SplitFactorStep& splitFactorStep() {
  static SplitFactorStep installed;
  return installed;
}

}  // namespace kvqt::session
