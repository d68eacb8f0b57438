#include "ui/configure_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/configuration.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "ui/config_wizard.h"

namespace kvqt::ui {
namespace {

QString Id(int id) { return QStringLiteral("id%1").arg(id); }

QString Text(const std::string& text) { return QString::fromStdString(text); }
std::string Std(const QString& text) { return text.toStdString(); }

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QComboBox* FileTypeCombo(const std::vector<std::string>& codes, const char* name, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  for (const std::string& code : codes) combo->addItem(Text(code));
  return combo;
}

QLineEdit* MaxRecordsField(int id, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(Id(id));
  field->setMaxLength(6);
  field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("000000000")));
  return field;
}

QCheckBox* Option(int id, const char* text, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromLatin1(text), parent);
  box->setObjectName(Id(id));
  return box;
}

}  // namespace

ConfigureDialog::ConfigureDialog(Application& application, QWidget* parent)
    : QDialog(parent), application_(application) {
  setObjectName("KVQT_CONFIGURE");
  setWindowTitle(QStringLiteral("Configure"));

  // Identification.
  auto* identification = new QGroupBox(QStringLiteral("Identification"), this);
  userNumber_ = new QLineEdit(identification);
  userNumber_->setObjectName("userNumber");
  userNumber_->setMaxLength(static_cast<int>(kCredentialLength));
  password_ = new QLineEdit(identification);
  password_->setObjectName("password");
  password_->setMaxLength(static_cast<int>(kCredentialLength));
  password_->setEchoMode(QLineEdit::Password);
  auto* identificationLayout = new QFormLayout(identification);
  identificationLayout->addRow(BuddyLabel(QStringLiteral("&User number"), userNumber_, identification), userNumber_);
  identificationLayout->addRow(BuddyLabel(QStringLiteral("&Password"), password_, identification), password_);

  // Communication: only the internet is left.
  auto* communication = new QGroupBox(QStringLiteral("Communication"), this);
  auto* internet = new QRadioButton(QStringLiteral("&Internet"), communication);
  internet->setObjectName(Id(428));
  internet->setChecked(true);
  destination_ = new QLineEdit(communication);
  destination_->setObjectName(Id(621));
  destination_->setMaxLength(static_cast<int>(kDestinationLength));
  destination_->setMinimumWidth(destination_->fontMetrics().horizontalAdvance(QString(24, QChar('x'))));
  auto* destinationLabel = BuddyLabel(QStringLiteral("&Destination"), destination_, communication);
  destinationLabel->setObjectName(Id(620));
  auto* communicationLayout = new QFormLayout(communication);
  communicationLayout->addRow(internet);
  communicationLayout->addRow(destinationLabel, destination_);

  // The file types and ring sizes new Technical Investor and TopVest data files get.
  auto* files = new QGroupBox(QStringLiteral("Data files"), this);
  technicalInvestorFileType_ = FileTypeCombo(TechnicalInvestorFileTypeCodes(), "technicalInvestorFileType", files);
  technicalInvestorMaxRecords_ = MaxRecordsField(kTechnicalInvestorMaxRecordsField, files);
  topVestFileType_ = FileTypeCombo(TopVestFileTypeCodes(), "topVestFileType", files);
  topVestMaxRecords_ = MaxRecordsField(kTopVestMaxRecordsField, files);
  auto* filesLayout = new QGridLayout(files);
  filesLayout->addWidget(new QLabel(QStringLiteral("File type"), files), 0, 1);
  filesLayout->addWidget(new QLabel(QStringLiteral("Maximum records"), files), 0, 2);
  filesLayout->addWidget(BuddyLabel(QStringLiteral("&Technical Investor"), technicalInvestorFileType_, files), 1, 0);
  filesLayout->addWidget(technicalInvestorFileType_, 1, 1);
  filesLayout->addWidget(technicalInvestorMaxRecords_, 1, 2);
  filesLayout->addWidget(BuddyLabel(QStringLiteral("T&opVest"), topVestFileType_, files), 2, 0);
  filesLayout->addWidget(topVestFileType_, 2, 1);
  filesLayout->addWidget(topVestMaxRecords_, 2, 2);
  technicalInvestorMaxRecords_->setAccessibleName(QStringLiteral("Technical Investor maximum records"));
  topVestMaxRecords_->setAccessibleName(QStringLiteral("TopVest maximum records"));
  filesLayout->setColumnStretch(3, 1);
  filesLayout->setRowStretch(3, 1);
  filesLayout->setHorizontalSpacing(12);

  // Download options.
  auto* options = new QGroupBox(QStringLiteral("Options"), this);
  symbolChanges_ = Option(392, "Download Symbol Changes", options);
  optionChanges_ = Option(421, "Download Option Symbol Changes", options);
  splitFactors_ = Option(393, "Download Splitfactors", options);
  newVersion_ = Option(422, "Download New Version ", options);
  auto* optionsLayout = new QVBoxLayout(options);
  for (QCheckBox* box : {symbolChanges_, optionChanges_, splitFactors_, newVersion_}) optionsLayout->addWidget(box);

  // Orvista 2000.
  auto* orvista = new QGroupBox(QStringLiteral("Orvista 2000"), this);
  orvistaProgramFolder_ = new QLineEdit(orvista);
  orvistaProgramFolder_->setObjectName(Id(417));
  orvistaMonths_ = new QSpinBox(orvista);
  orvistaMonths_->setObjectName(Id(416));
  orvistaMonths_->setRange(0, 9999);
  auto* monthsRow = new QHBoxLayout;
  monthsRow->addWidget(orvistaMonths_);
  monthsRow->addWidget(new QLabel(QStringLiteral("months"), orvista));
  monthsRow->addStretch(1);
  auto* orvistaLayout = new QFormLayout(orvista);
  orvistaLayout->addRow(BuddyLabel(QStringLiteral("Orvista 2000 Program &Folder"), orvistaProgramFolder_, orvista),
                        orvistaProgramFolder_);
  orvistaLayout->addRow(BuddyLabel(QStringLiteral("&New instrument"), orvistaMonths_, orvista), monthsRow);

  // Buttons.
  auto* wizard = new QPushButton(QStringLiteral("Configuration &wizard..."), this);
  wizard->setObjectName(Id(641));
  wizard->setAutoDefault(false);
  auto* ok = new QPushButton(QStringLiteral("Ok"), this);
  ok->setObjectName(Id(1));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(Id(2));
  cancel->setAutoDefault(false);
  connect(wizard, &QPushButton::clicked, this, &ConfigureDialog::runWizard);
  connect(ok, &QPushButton::clicked, this, &ConfigureDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(wizard);
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* grid = new QGridLayout;
  grid->addWidget(identification, 0, 0);
  grid->addWidget(communication, 0, 1);
  grid->addWidget(files, 1, 0);
  grid->addWidget(options, 1, 1);
  grid->addWidget(orvista, 2, 0, 1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(userNumber_, password_);
  setTabOrder(password_, internet);
  setTabOrder(internet, destination_);
  setTabOrder(destination_, technicalInvestorFileType_);
  setTabOrder(technicalInvestorFileType_, technicalInvestorMaxRecords_);
  setTabOrder(technicalInvestorMaxRecords_, topVestFileType_);
  setTabOrder(topVestFileType_, topVestMaxRecords_);
  setTabOrder(topVestMaxRecords_, symbolChanges_);
  setTabOrder(symbolChanges_, optionChanges_);
  setTabOrder(optionChanges_, splitFactors_);
  setTabOrder(splitFactors_, newVersion_);
  setTabOrder(newVersion_, orvistaProgramFolder_);
  setTabOrder(orvistaProgramFolder_, orvistaMonths_);
  setTabOrder(orvistaMonths_, wizard);
  setTabOrder(wizard, ok);
  setTabOrder(ok, cancel);

  fill();
}

void ConfigureDialog::fill() {
  ProgramData& data = application_.data();
  ConfigurationValues values = ReadConfiguration(data.login(), data.userInfo(), profile());
  userNumber_->setText(Text(values.userNumber));
  password_->setText(Text(values.password));
  destination_->setText(Text(values.destination));
  technicalInvestorFileType_->setCurrentText(Text(values.technicalInvestorFileType));
  topVestFileType_->setCurrentText(Text(values.topVestFileType));
  technicalInvestorMaxRecords_->setText(Text(values.technicalInvestorMaxRecords));
  topVestMaxRecords_->setText(Text(values.topVestMaxRecords));
  symbolChanges_->setChecked(values.symbolChanges);
  optionChanges_->setChecked(values.optionChanges);
  splitFactors_->setChecked(values.splitFactors);
  newVersion_->setChecked(values.newVersion);
  orvistaProgramFolder_->setText(Text(values.orvistaProgramFolder));
  orvistaMonths_->setValue(values.orvistaMonthsNewShare);
}

void ConfigureDialog::runWizard() {
  runConfigWizard(application_, this);
  fill();
}

void ConfigureDialog::accept() {
  ConfigurationValues values;
  values.userNumber = Std(userNumber_->text());
  values.password = Std(password_->text());
  values.destination = Std(destination_->text());
  values.technicalInvestorFileType = Std(technicalInvestorFileType_->currentText());
  values.topVestFileType = Std(topVestFileType_->currentText());
  values.technicalInvestorMaxRecords = Std(technicalInvestorMaxRecords_->text());
  values.topVestMaxRecords = Std(topVestMaxRecords_->text());
  values.symbolChanges = symbolChanges_->isChecked();
  values.optionChanges = optionChanges_->isChecked();
  values.splitFactors = splitFactors_->isChecked();
  values.newVersion = newVersion_->isChecked();
  values.orvistaProgramFolder = Std(orvistaProgramFolder_->text());
  values.orvistaMonthsNewShare = orvistaMonths_->value();

  ProgramData& data = application_.data();
  std::optional<ConfigurationProblem> problem = ApplyConfiguration(values, data.login(), data.userInfo(), profile());
  if (problem) {
    message(problem->message);
    QLineEdit* field = problem->field == kTechnicalInvestorMaxRecordsField ? technicalInvestorMaxRecords_
                                                                            : topVestMaxRecords_;
    field->setFocus();
    field->selectAll();
    return;
  }
  QDialog::accept();
}

}  // namespace kvqt::ui
