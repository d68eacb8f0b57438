// The configuration wizard's setup page: the format check of a directory, the
// directory it proposes, the rules of "Add...", the Orvista 2000 program
// folder, and what its "Next" puts into the data model.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvqt {

class Formats;

// A directory suits the format when it holds no recognised format or fits
// this one; for Orvista 2000 only when it holds Orvista 2000 data.
bool PassesWizardFormatCheck(const std::string& directory, int formatId);

// The format's default directory when it passes the format check, else "".
std::string WizardProposedDirectory(int formatId, const std::string& programDirectory);

// What was typed as a path here, ending in a separator: a name without a
// leading '/' lies on drive c:, "c:\..." and "c:..." are drive c: as well.
// False (and `path` empty) for a name that cannot be a directory here: another
// drive letter, a control character, longer than a directory path may be.
bool WizardDirectoryPath(std::string_view typed, std::string& path);

enum class AddResult { Ignored, Added, Refused };

// "Add...": the typed directory joins `chosen` after the checks, each refusal
// with its message in the language; a missing directory of an ordinary format
// is created when the user agrees.
AddResult AddWizardDirectory(std::vector<std::string>& chosen, std::string_view typed, int formatId, int language);

// The Orvista 2000 program is in the folder: "Orvista2000.exe" or its short
// name "orvist~1.exe", either found regardless of case.
bool HoldsOrvistaProgram(const std::string& folder);
// "c:\Program Files\Orvista2000", else "c:\Orvista2000", whichever holds the
// program; else "".
std::string WizardProposedProgramFolder();

// The setup page's "Next". For Orvista 2000 the program folder must hold the
// program (else its message, and false: the page stays), and is stored as
// `orvista2kpath`. Then every chosen directory that passes the format check
// joins the format and becomes its current directory, and the format becomes
// the current format.
bool ApplyWizardSetupPage(Formats& formats, int formatId, const std::vector<std::string>& chosen,
                          std::string_view programFolder, int language);

}  // namespace kvqt
