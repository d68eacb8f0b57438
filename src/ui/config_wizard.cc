#include "ui/config_wizard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/core/messages.h"
#include "app/model/format_ids.h"
#include "maintenance/wizard_directories.h"
#include "maintenance/wizard_formats.h"
#include "maintenance/wizard_texts.h"
#include "maintenance/wizard_user.h"
#include "ui/config_wizard_dialog.h"
#include "ui/fonts.h"

namespace kvqt::ui {
namespace {

// Directories the search visits per timer tick: small enough for the window
// to stay responsive.
constexpr int kSearchSlice = 40;

QString Q(const std::string& text) { return QString::fromStdString(text); }
std::string S(const QString& text) { return text.toStdString(); }

QString Text(int id, int language) { return Q(WizardText(id, language)); }

QLabel* WrappedLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setWordWrap(true);
  return label;
}

QLabel* BoldLabel(QWidget* parent) {
  QLabel* label = WrappedLabel(parent);
  QFont font = DialogFont();
  font.setBold(true);
  label->setFont(font);
  return label;
}

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

}  // namespace

ConfigWizard::ConfigWizard(Application& application, QWidget* parent)
    : QDialog(parent), application_(application), language_(kWizardStartLanguage) {
  setWindowTitle(kProgramTitle);
  setModal(true);
  auto* layout = new QVBoxLayout(this);

  auto* languages = new QHBoxLayout;
  const struct {
    const char* text;
    const char* id;
    int language;
  } buttons[] = {{kLanguageButtonDutch, "id670", kWizardDutch},
                 {kLanguageButtonFrench, "id672", kWizardFrench},
                 {kLanguageButtonEnglish, "id671", kWizardEnglish}};
  for (const auto& b : buttons) {
    auto* button = Named(new QPushButton(QString::fromUtf8(b.text), this), b.id);
    button->setAutoDefault(false);
    const int lang = b.language;
    connect(button, &QPushButton::clicked, this, [this, lang] { setLanguage(lang); });
    languages->addWidget(button);
  }
  languages->addStretch();
  layout->addLayout(languages);

  pages_ = new QStackedWidget(this);
  layout->addWidget(pages_, 1);
  buildPages();

  auto* row = new QHBoxLayout;
  row->addStretch();
  back_ = Named(new QPushButton(this), "back");
  next_ = Named(new QPushButton(this), "next");
  cancel_ = Named(new QPushButton(this), "cancel");
  next_->setDefault(true);
  back_->setAutoDefault(false);
  cancel_->setAutoDefault(false);
  row->addWidget(back_);
  row->addWidget(next_);
  row->addWidget(cancel_);
  layout->addLayout(row);
  connect(back_, &QPushButton::clicked, this, &ConfigWizard::goBack);
  connect(next_, &QPushButton::clicked, this, &ConfigWizard::goNext);
  connect(cancel_, &QPushButton::clicked, this, &ConfigWizard::reject);

  searchTimer_ = new QTimer(this);
  searchTimer_->setInterval(0);
  connect(searchTimer_, &QTimer::timeout, this, &ConfigWizard::searchSlice);

  setMinimumWidth(520);
  showPage();
}

ConfigWizard::~ConfigWizard() = default;

void ConfigWizard::buildPages() {
  // Language page.
  auto* page = new QWidget;
  auto* v = new QVBoxLayout(page);
  welcome_ = BoldLabel(page);
  description_ = WrappedLabel(page);
  v->addWidget(welcome_);
  v->addWidget(description_);
  v->addStretch();
  pages_->addWidget(page);

  // User page.
  page = new QWidget;
  v = new QVBoxLayout(page);
  userHelp_ = BoldLabel(page);
  userLabel_ = new QLabel(page);
  userNumber_ = Named(new QLineEdit(page), "userNumber");
  userNumber_->setMaxLength(8);
  userLabel_->setBuddy(userNumber_);
  passwordHelp_ = WrappedLabel(page);
  passwordLabel_ = new QLabel(page);
  password_ = Named(new QLineEdit(page), "password");
  password_->setMaxLength(8);
  password_->setEchoMode(QLineEdit::Password);
  passwordLabel_->setBuddy(password_);
  lostLogin_ = WrappedLabel(page);
  // One grid, so that both fields start where the longer label ends.
  auto* grid = new QGridLayout;
  grid->addWidget(userHelp_, 0, 0, 1, 2);
  grid->addWidget(userLabel_, 1, 0);
  grid->addWidget(userNumber_, 1, 1);
  grid->addWidget(passwordHelp_, 2, 0, 1, 2);
  grid->addWidget(passwordLabel_, 3, 0);
  grid->addWidget(password_, 3, 1);
  grid->addWidget(lostLogin_, 4, 0, 1, 2);
  v->addLayout(grid);
  v->addStretch();
  pages_->addWidget(page);
  const LoginRecord& login = application_.data().login();
  userNumber_->setText(Q(login.userNumber));
  password_->setText(Q(login.password));

  // Formats page.
  page = new QWidget;
  v = new QVBoxLayout(page);
  formatsHelp_ = BoldLabel(page);
  v->addWidget(formatsHelp_);
  for (const WizardFormat& format : WizardFormats()) {
    auto* box = new QCheckBox(page);
    box->setObjectName(QString("id%1").arg(format.boxId));
    const int id = format.boxId;
    connect(box, &QCheckBox::toggled, this, [this, id](bool on) { flow_.setTicked(id, on); });
    boxes_[format.boxId] = box;
    v->addWidget(box);
  }
  v->addStretch();
  pages_->addWidget(page);

  // Format setup page, filled for each format as it is shown.
  page = new QWidget;
  v = new QVBoxLayout(page);
  formatLine_ = BoldLabel(page);
  directoryHelp_ = WrappedLabel(page);
  directory_ = Named(new QLineEdit(page), "directory");
  chosen_ = Named(new QListWidget(page), "chosenDirectories");
  chosen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  chosen_->setAccessibleName("Directories");
  drives_ = Named(new QComboBox(page), "drives");
  drives_->setAccessibleName("Drive");
  for (const std::string& drive : WizardSearchDrives()) drives_->addItem(Q(drive));
  add_ = Named(new QPushButton(page), "add");
  browse_ = Named(new QPushButton(page), "browse");
  search_ = Named(new QPushButton(page), "search");
  delete_ = Named(new QPushButton(page), "delete");
  for (QPushButton* b : {add_, browse_, search_, delete_}) b->setAutoDefault(false);
  v->addWidget(formatLine_);
  v->addWidget(directoryHelp_);
  v->addWidget(directory_);
  auto* h = new QHBoxLayout;
  h->addWidget(chosen_, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(add_);
  side->addWidget(browse_);
  side->addWidget(delete_);
  side->addWidget(drives_);
  side->addWidget(search_);
  side->addStretch();
  h->addLayout(side);
  v->addLayout(h);
  programRow_ = new QWidget(page);
  auto* pv = new QVBoxLayout(programRow_);
  pv->setContentsMargins(0, 0, 0, 0);
  programHelp_ = WrappedLabel(programRow_);
  programFolder_ = Named(new QLineEdit(programRow_), "programFolder");
  programFolder_->setAccessibleName("Orvista 2000 Program Folder");
  programBrowse_ = Named(new QPushButton(programRow_), "programBrowse");
  programSearch_ = Named(new QPushButton(programRow_), "programSearch");
  programBrowse_->setAutoDefault(false);
  programSearch_->setAutoDefault(false);
  pv->addWidget(programHelp_);
  auto* ph = new QHBoxLayout;
  ph->addWidget(programFolder_, 1);
  ph->addWidget(programBrowse_);
  ph->addWidget(programSearch_);
  pv->addLayout(ph);
  v->addWidget(programRow_);
  pages_->addWidget(page);
  connect(add_, &QPushButton::clicked, this, &ConfigWizard::addDirectory);
  connect(browse_, &QPushButton::clicked, this, &ConfigWizard::browseDirectory);
  connect(delete_, &QPushButton::clicked, this, &ConfigWizard::deleteDirectory);
  connect(search_, &QPushButton::clicked, this, [this] { toggleSearch(false); });
  connect(programSearch_, &QPushButton::clicked, this, [this] { toggleSearch(true); });
  connect(programBrowse_, &QPushButton::clicked, this, [this] {
    const QString picked = QFileDialog::getExistingDirectory(this, QString(), programFolder_->text());
    if (!picked.isEmpty()) programFolder_->setText(picked);
  });

  // Finish page.
  page = new QWidget;
  v = new QVBoxLayout(page);
  configured_ = BoldLabel(page);
  finishText_ = WrappedLabel(page);
  v->addWidget(configured_);
  v->addWidget(finishText_);
  v->addStretch();
  pages_->addWidget(page);
}

std::vector<std::string> ConfigWizard::chosenDirectories(int formatId) const {
  auto it = setups_.find(formatId);
  return it == setups_.end() ? std::vector<std::string>() : it->second.chosen;
}

bool ConfigWizard::searching() const { return searchTimer_->isActive(); }

void ConfigWizard::setLanguage(int language) {
  language_ = WizardLanguage(language);
  retranslate();
}

void ConfigWizard::retranslate() {
  const int l = language_;
  welcome_->setText(Text(kTextWelcome, l));
  description_->setText(Text(kTextDescription, l));
  userHelp_->setText(Text(kTextUserNumberHelp, l));
  userLabel_->setText(Text(kTextUserNumberLabel, l));
  passwordHelp_->setText(Text(kTextPasswordHelp, l));
  passwordLabel_->setText(Text(kTextPasswordLabel, l));
  lostLogin_->setText(Text(kTextLostLogin, l));
  formatsHelp_->setText(Text(kTextFormatsHelp, l));
  for (auto& [id, box] : boxes_) box->setText(Q(WizardFormatCaption(id, l)));
  directoryHelp_->setText(Text(kTextDataDirectoryHelp, l));
  programHelp_->setText(Text(kTextProgramFolderHelp, l));
  add_->setText(Text(kTextAdd, l));
  browse_->setText(Text(kTextBrowse, l));
  delete_->setText(Text(kTextDelete, l));
  const bool dirSearch = searching() && !searchingProgram_;
  const bool progSearch = searching() && searchingProgram_;
  search_->setText(Text(dirSearch ? kTextStopSearch : kTextSearch, l));
  programBrowse_->setText(Text(kTextBrowse, l));
  programSearch_->setText(Text(progSearch ? kTextStopSearch : kTextSearch, l));
  if (flow_.page() == WizardPage::FormatSetup)
    formatLine_->setText(Q("\n  " + WizardText(kTextDataFormat, l) + ": " +
                           WizardFormatName(flow_.setupFormatId(), l)));
  configured_->setText(Text(kTextConfigured, l));
  finishText_->setText(Text(kTextToolbar, l) + "\n\n" + Text(kTextConnects, l));
  back_->setText(Text(kTextBack, l));
  next_->setText(Text(flow_.isFinish() ? kTextFinish : kTextNext, l));
  cancel_->setText(Text(kTextCancel, l));
}

void ConfigWizard::showPage() {
  switch (flow_.page()) {
    case WizardPage::Language: pages_->setCurrentIndex(0); break;
    case WizardPage::User: pages_->setCurrentIndex(1); break;
    case WizardPage::Formats: pages_->setCurrentIndex(2); break;
    case WizardPage::FormatSetup:
      pages_->setCurrentIndex(3);
      loadSetupPage();
      break;
    case WizardPage::Finish: pages_->setCurrentIndex(4); break;
  }
  back_->setVisible(flow_.hasBack());
  cancel_->setVisible(flow_.hasCancel());
  retranslate();
}

void ConfigWizard::loadSetupPage() {
  const int formatId = flow_.setupFormatId();
  SetupState& state = setup();
  if (!state.visited) {
    state.visited = true;
    state.typed = WizardProposedDirectory(formatId, application_.programDirectory());
    if (formatId == kFormatIdOrvista) state.programFolder = WizardProposedProgramFolder();
  }
  directory_->setText(Q(state.typed));
  chosen_->clear();
  for (const std::string& path : state.chosen) chosen_->addItem(Q(path));
  const bool orvista = formatId == kFormatIdOrvista;
  programRow_->setVisible(orvista);
  programFolder_->setText(Q(state.programFolder));
  search_->setEnabled(WizardHasSearch(formatId));
  drives_->setEnabled(WizardHasSearch(formatId));
}

void ConfigWizard::saveSetupFields() {
  if (flow_.page() != WizardPage::FormatSetup) return;
  SetupState& state = setup();
  state.typed = S(directory_->text());
  state.programFolder = S(programFolder_->text());
}

void ConfigWizard::goNext() {
  if (flow_.page() == WizardPage::User) {
    const UserPageField field =
        ApplyUserPage(application_.data().login(), S(userNumber_->text()), S(password_->text()), language_);
    if (field != UserPageField::None) {
      QLineEdit* edit = field == UserPageField::UserNumber ? userNumber_ : password_;
      edit->setFocus();
      edit->selectAll();
      return;
    }
  }
  if (flow_.page() == WizardPage::FormatSetup) {
    stopSearch();
    saveSetupFields();
    SetupState& state = setup();
    if (!ApplyWizardSetupPage(application_.formats(), flow_.setupFormatId(), state.chosen, state.programFolder,
                              language_)) {
      programFolder_->setFocus();
      programFolder_->selectAll();
      return;
    }
  }
  if (flow_.next()) {
    accept();
    return;
  }
  showPage();
}

void ConfigWizard::goBack() {
  stopSearch();
  saveSetupFields();
  flow_.back();
  showPage();
}

void ConfigWizard::reject() {
  stopSearch();
  QDialog::reject();
}

void ConfigWizard::addDirectory() {
  SetupState& state = setup();
  if (AddWizardDirectory(state.chosen, S(directory_->text()), flow_.setupFormatId(), language_) == AddResult::Added)
    chosen_->addItem(Q(state.chosen.back()));
}

void ConfigWizard::browseDirectory() {
  const QString picked = QFileDialog::getExistingDirectory(this, QString(), directory_->text());
  if (!picked.isEmpty()) directory_->setText(picked);
}

void ConfigWizard::deleteDirectory() {
  const int row = chosen_->currentRow();
  SetupState& state = setup();
  if (row < 0 || row >= static_cast<int>(state.chosen.size())) return;
  state.chosen.erase(state.chosen.begin() + row);
  delete chosen_->takeItem(row);
}

void ConfigWizard::toggleSearch(bool programFolder) {
  if (searching()) {
    stopSearch();
    return;
  }
  SetupState& state = setup();
  const std::string root = S(drives_->currentText().isEmpty() ? Q(WizardSearchDrives().front())
                                                              : drives_->currentText());
  const auto target = programFolder ? WizardSearch::Target::OrvistaProgram : WizardSearch::Target::FormatDirectories;
  // A later search goes on after the last directory found, on the same drive.
  if (!state.search || state.search->finished() || state.search->root() != root ||
      state.search->target() != target)
    state.search = std::make_unique<WizardSearch>(root, flow_.setupFormatId(), target);
  searchingProgram_ = programFolder;
  searchTimer_->start();
  retranslate();
}

void ConfigWizard::stopSearch() {
  if (!searching()) return;
  searchTimer_->stop();
  if (!searchingProgram_) directory_->setText(Q(setup().typed));
  retranslate();
}

void ConfigWizard::searchSlice() {
  SetupState& state = setup();
  if (!state.search) {
    stopSearch();
    return;
  }
  const WizardSearch::Slice slice = state.search->run(kSearchSlice);
  if (slice.state == WizardSearch::State::Found) {
    if (searchingProgram_) {
      programFolder_->setText(Q(slice.directory.size() > 1 ? slice.directory.substr(0, slice.directory.size() - 1)
                                                           : slice.directory));
      stopSearch();
      return;
    }
    std::vector<std::string>& chosen = state.chosen;
    bool listed = false;
    for (const std::string& path : chosen) listed = listed || path == slice.directory;
    if (!listed) {
      chosen.push_back(slice.directory);
      chosen_->addItem(Q(slice.directory));
    }
  } else if (slice.state == WizardSearch::State::Finished) {
    stopSearch();
    return;
  }
  if (!searchingProgram_) directory_->setText(Q(WizardMessage(kStatusScanning, language_, slice.directory)));
}

bool runConfigWizard(Application& application, QWidget* parent) {
  ConfigWizard wizard(application, parent);
  return wizard.exec() == QDialog::Accepted;
}

}  // namespace kvqt::ui
