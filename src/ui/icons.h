// The program's pictures: the window icon, and one tool bar picture per
// command, taken from the desktop's icon theme by its freedesktop name and
// drawn by the program where the theme has none.
#pragma once

#include <QIcon>
#include <QImage>

namespace kvqt::ui {

// The program's icon at one size, drawn without a display (the build
// renders the icon theme's sizes from it).
QImage ProgramIconImage(int size);

QIcon ProgramIcon();

// The icon-theme name of a tool bar command, or "" for a command without a picture.
const char* CommandIconName(int commandId);
// The program's own picture of a command at one size, drawn without a display.
QImage CommandIconImage(int commandId, int size);
// The theme's icon of the command, with the program's own picture as the fallback.
QIcon CommandIcon(int commandId);

}  // namespace kvqt::ui
