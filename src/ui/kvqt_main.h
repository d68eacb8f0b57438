// The program's entry: one running copy per program directory, the program directory made
// current, the data loaded, then the main window, the batch window, or a
// batch run without a display; the data saved at exit.
#pragma once

namespace kvqt::ui {

int RunKvqt(int argc, char** argv);

}  // namespace kvqt::ui
