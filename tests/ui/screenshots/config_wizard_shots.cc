#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <vector>

#include "app/application.h"
#include "maintenance/wizard_texts.h"
#include "ui/config_wizard_dialog.h"
#include "ui/screenshots/screenshot.h"

namespace kvqt::screenshots {
namespace {

// The wizard's data outlive its window, as the program's own do.
Application& ShotApplication(const Scene& scene) {
  static std::vector<std::unique_ptr<Application>> applications;
  applications.push_back(std::make_unique<Application>(std::vector<std::string>{}));
  applications.back()->start(scene.directory());
  return *applications.back();
}

void Click(QWidget* wizard, const char* name) { wizard->findChild<QPushButton*>(name)->click(); }

// The wizard in `language` on page `page` (0 language ... 4 finish), with the
// given format box ticked for the setup page.
QWidget* Wizard(Scene& scene, int language, int page, const char* box = "id2004") {
  auto* wizard = new ui::ConfigWizard(ShotApplication(scene), nullptr);
  scene.keep(wizard);
  if (page >= 1) Click(wizard, "next");
  if (page >= 2) {
    wizard->findChild<QLineEdit*>("userNumber")->setText("12345");
    wizard->findChild<QLineEdit*>("password")->setText("secretpw");
    Click(wizard, "next");
  }
  if (page >= 3) {
    wizard->findChild<QCheckBox*>(box)->setChecked(true);
    Click(wizard, "next");
  }
  if (page >= 4) Click(wizard, "next");
  wizard->setLanguage(language);
  return wizard;
}

struct Variant {
  const char* suffix;
  int language;
};
constexpr Variant kVariants[] = {{"", kWizardEnglish}, {"-nl", kWizardDutch}, {"-fr", kWizardFrench}};

#define WIZARD_SHOTS(var, name, page, box)                                                               \
  const Shot var##En(name, [](Scene& s) { return Wizard(s, kVariants[0].language, page, box); });        \
  const Shot var##Nl(name "-nl", [](Scene& s) { return Wizard(s, kVariants[1].language, page, box); }); \
  const Shot var##Fr(name "-fr", [](Scene& s) { return Wizard(s, kVariants[2].language, page, box); });

WIZARD_SHOTS(kLanguage, "korv_config_wizard_1_language", 0, "id2004")
WIZARD_SHOTS(kUser, "korv_config_wizard_2_user", 1, "id2004")
WIZARD_SHOTS(kFormats, "korv_config_wizard_3_formats", 2, "id2004")
WIZARD_SHOTS(kSetup, "korv_config_wizard_format_setup", 3, "id2004")
WIZARD_SHOTS(kSetupOrvista, "korv_config_wizard_format_setup-orvista", 3, "id2016")
WIZARD_SHOTS(kFinish, "korv_config_wizard_4_finishup", 4, "id2004")

}  // namespace
}  // namespace kvqt::screenshots
