// The data manager's window as the core sees it. The user interface installs
// its dialog; batch runs and tests use the headless data manager, which is
// installed until then.
#pragma once

namespace kvqt {

class DataManager;

class DataManagerView {
 public:
  virtual ~DataManagerView() = default;
  // Shows the data manager modally and returns when it has closed. Everything
  // it does goes through `manager`, which the opener owns.
  virtual void run(DataManager& manager) = 0;
};

// The view in use.
DataManagerView& dataManagerView();
// Installs a view (nullptr restores the headless one); returns the previous one.
DataManagerView* setDataManagerView(DataManagerView* view);

}  // namespace kvqt
