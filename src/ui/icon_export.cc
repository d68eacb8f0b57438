// kvqt-icons DIR: writes the program's icon into an icon theme tree,
// DIR/SIZExSIZE/apps/kvqt.png for each size the hicolor theme uses.
#include <QDir>
#include <cstdio>

#include "ui/icons.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kvqt-icons DIR\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString dir = QString("%1/%2x%2/apps").arg(root).arg(size);
    if (!QDir().mkpath(dir) || !kvqt::ui::ProgramIconImage(size).save(dir + "/kvqt.png", "PNG")) {
      std::fprintf(stderr, "kvqt-icons: cannot write %s/kvqt.png\n", dir.toLocal8Bit().constData());
      return 1;
    }
  }
  return 0;
}
