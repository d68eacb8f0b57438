// Renders every registered shot into the folder given as the only argument
// (build/screenshots). Exits non-zero when a shot fails to render or to save.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/core/logs.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "support/temp_dir.h"
#include "ui/screenshots/screenshot.h"
#include "ui/fonts.h"

namespace kvqt::screenshots {

std::vector<ShotEntry>& Shots() {
  static std::vector<ShotEntry> shots;
  return shots;
}

namespace {

bool RenderShot(const ShotEntry& shot, const std::string& outDir) {
  testing::TempDir dir;
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) return false;
  if (::chdir(dir.path().c_str()) != 0) return false;
  Logs::SetDirectory(dir.path());
  setProfilePath(dir.file("kvqt.ini"));

  bool saved = false;
  {
    Scene scene(dir.path());
    QWidget* widget = shot.render(scene);
    if (widget != nullptr) {
      widget->show();
      widget->adjustSize();
      QApplication::processEvents();
      const std::string file = outDir + "/" + shot.name + ".png";
      saved = widget->grab().save(QString::fromStdString(file));
      widget->hide();
    }
  }
  (void)!::chdir(cwd);
  Logs::SetDirectory("");
  return saved;
}

}  // namespace
}  // namespace kvqt::screenshots

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: kvqt_screenshots OUTPUT_DIRECTORY\n");
    return 2;
  }
  // Each shot runs in a directory of its own: a relative folder is taken from here.
  std::string outDir = argv[1];
  char cwd[4096];
  if (!outDir.empty() && outDir[0] != '/' && ::getcwd(cwd, sizeof cwd) != nullptr) outDir = std::string(cwd) + "/" + outDir;
  ::mkdir(outDir.c_str(), 0755);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  kvqt::ui::ApplyDialogFont();
  kvqt::ScopedMessages quiet;  // a shot never waits for a click

  int failed = 0;
  for (const auto& shot : kvqt::screenshots::Shots()) {
    if (kvqt::screenshots::RenderShot(shot, outDir)) {
      std::printf("%s/%s.png\n", outDir.c_str(), shot.name.c_str());
    } else {
      std::fprintf(stderr, "kvqt_screenshots: %s could not be rendered\n", shot.name.c_str());
      ++failed;
    }
  }
  std::printf("%zu shots, %d failed\n", kvqt::screenshots::Shots().size(), failed);
  return failed == 0 ? 0 : 1;
}
