// The program's pictures, drawn at run time: the window icon and one tool bar
// picture per command.
#pragma once

#include <QIcon>

namespace kvqt::ui {

QIcon ProgramIcon();
QIcon CommandIcon(int commandId);

}  // namespace kvqt::ui
