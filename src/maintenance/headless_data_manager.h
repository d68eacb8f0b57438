// The data manager without a window, for batch runs and tests: opened for an
// announced split, it applies the proposed split at once, saves, and writes
// what it did to the report log; opened otherwise it closes as by Cancel.
#pragma once

#include "maintenance/data_manager_view.h"

namespace kvqt {

class HeadlessDataManager : public DataManagerView {
 public:
  void run(DataManager& manager) override;
};

}  // namespace kvqt
