// The chart formats the configuration wizard offers: one check box each (id
// 2000 + format id, "Other format" 645 without a setup page), with captions in
// the wizard's languages, the directory each proposes and the marker file its
// directory search looks for.
#pragma once

#include <string>
#include <vector>

namespace kvqt {

inline constexpr int kWizardFormatBoxBase = 2000;
inline constexpr int kWizardOtherFormatBox = 645;

struct WizardFormat {
  int boxId;     // control id of the check box
  int formatId;  // -1 for "Other format"
};

// The check boxes in the order the formats page shows them, "Other format" last.
const std::vector<WizardFormat>& WizardFormats();

// The check box caption with its mnemonic, in the language.
std::string WizardFormatCaption(int boxId, int language);
// The caption without the mnemonic: the format's name on its setup page.
std::string WizardFormatName(int formatId, int language);

// The directory the setup page proposes (before the format check), a path
// here; the ASCII formats propose one in the program directory (which ends in
// a separator). "" for a format the wizard does not set up.
std::string WizardDefaultDirectory(int formatId, const std::string& programDirectory);

// The file whose presence makes a directory a search hit; "" for the formats
// without a search.
std::string WizardMarkerFile(int formatId);

// The setup pages for the ticked check boxes: their format ids in box id order.
std::vector<int> WizardSetupFormats(const std::vector<int>& tickedBoxIds);

}  // namespace kvqt
