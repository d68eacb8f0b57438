// The program's pictures, drawn at run time: the window icon and one tool bar
// picture per command.
#pragma once

#include <QIcon>
#include <QImage>

namespace kvqt::ui {

// The program's icon at one size, drawn without a display (the build
// renders the icon theme's sizes from it).
QImage ProgramIconImage(int size);

QIcon ProgramIcon();
QIcon CommandIcon(int commandId);

}  // namespace kvqt::ui
