#include "ui/qt_test_app.h"

namespace kvqt::testing {
namespace {

QApplication* g_app = nullptr;

class QtEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    delete g_app;
    g_app = nullptr;
  }
};

[[maybe_unused]] const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "ui_test";
  static char* argv[] = {name, nullptr};
  if (g_app == nullptr) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    g_app = new QApplication(argc, argv);
  }
  return *g_app;
}

}  // namespace kvqt::testing
