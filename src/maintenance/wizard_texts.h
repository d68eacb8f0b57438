// The configuration wizard's texts in its three languages. Every text has a
// base id ending in 1; the language (0 English, 1 Dutch, 2 French) is added to
// it, as the wizard's string resources are numbered.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

inline constexpr int kWizardEnglish = 0;
inline constexpr int kWizardDutch = 1;
inline constexpr int kWizardFrench = 2;
// The wizard opens in Dutch.
inline constexpr int kWizardStartLanguage = kWizardDutch;

// Page texts and control labels.
enum WizardTextId : int {
  kTextWelcome = 6001,
  kTextDescription = 6011,
  kTextBack = 6021,
  kTextNext = 6031,
  kTextCancel = 6041,
  kTextFinish = 6051,
  kTextUserNumberHelp = 6061,
  kTextUserNumberLabel = 6071,
  kTextPasswordHelp = 6081,
  kTextPasswordLabel = 6091,
  kTextLostLogin = 6101,
  kTextFormatsHelp = 6111,
  kTextConfigured = 6121,
  kTextToolbar = 6131,
  kTextConnects = 6141,
  kTextDataDirectoryHelp = 6151,
  kTextProgramFolderHelp = 6161,
  kTextAdd = 6171,
  kTextBrowse = 6181,
  kTextSearch = 6191,
  kTextDelete = 6201,
  kTextStopSearch = 6211,
  kTextDataFormat = 6221,
};

// Messages: the English ones as the program shows them, the Dutch and French
// ones under the base id + 1 and + 2.
enum WizardMessageId : int {
  kErrorInvalidDirectoryName = 5001,
  kQuestionCreateDirectory = 5011,
  kErrorCannotCreateDirectory = 5021,
  kErrorNotADirectory = 5031,
  kErrorHoldsDifferentFormat = 5041,
  kErrorDirectoryMissing = 5051,
  kErrorLacksFormat = 5061,
  kErrorContainsDifferentFormat = 5071,
  kErrorOrvistaProgramMissing = 5081,
  kErrorInvalidUserName = 5091,
  kErrorInvalidPassword = 5101,
  kStatusScanning = 5111,
};

// The language buttons, the same in every language.
inline constexpr const char* kLanguageButtonDutch = "&7 Nederlands";
inline constexpr const char* kLanguageButtonFrench = "&8 Fran\u00e7ais";
inline constexpr const char* kLanguageButtonEnglish = "&9 English";

// A language outside 0 to 2 is English.
int WizardLanguage(int language);

// The text of a page or control; "" for an id that has none.
std::string WizardText(int baseId, int language);

// A message, with `inserted` (cut at 80 characters) in place of its "%s".
std::string WizardMessage(int baseId, int language, std::string_view inserted = {});

}  // namespace kvqt
