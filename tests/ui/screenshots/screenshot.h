// Renders dialogs offscreen into PNG files, so a reviewer sees every dialog
// without running the program. Each dialog's shots live in a file of their
// own that registers them:
//
//   const kvqt::screenshots::Shot kShot("korv_dir_editor", [](kvqt::screenshots::Scene& scene) {
//     auto* dialog = new DirectoryEditorDialog(...);
//     return scene.keep(dialog);
//   });
//
// A shot runs in its own temporary program directory (the current directory,
// with the settings file and logs inside it) and returns the widget to render;
// the scene deletes it afterwards.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvqt::screenshots {

class Scene {
 public:
  explicit Scene(std::string directory) : directory_(std::move(directory)) {}
  // The shot's program directory, with a trailing '/'.
  const std::string& directory() const { return directory_; }
  // Takes ownership of the widget to render and returns it.
  QWidget* keep(QWidget* widget) {
    owned_.emplace_back(widget);
    return widget;
  }

 private:
  std::string directory_;
  std::vector<std::unique_ptr<QWidget>> owned_;
};

using Render = std::function<QWidget*(Scene&)>;

struct ShotEntry {
  std::string name;  // the file name without ".png"
  Render render;
};

// Every registered shot, in registration order.
std::vector<ShotEntry>& Shots();

class Shot {
 public:
  Shot(const char* name, Render render) { Shots().push_back({name, std::move(render)}); }
};

}  // namespace kvqt::screenshots
