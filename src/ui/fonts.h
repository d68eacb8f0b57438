// The program's fonts: the dialogs' default and the fixed-pitch print font.
#pragma once

#include <QFont>

namespace kvqt::ui {

// "MS Sans Serif" 8-point where it is installed; otherwise the system's sans
// serif at the same size.
QFont DialogFont();

// The system's fixed-pitch font at 8 points, for printed pages.
QFont PrintFont();

// Makes DialogFont the application's default.
void ApplyDialogFont();

}  // namespace kvqt::ui
