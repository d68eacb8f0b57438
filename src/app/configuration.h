// What the configuration dialog edits: identification and destination, the
// Technical Investor and TopVest file types and maximum records, the download
// options and the Orvista 2000 settings. Read from the login record, the
// connection record and the settings file; written back only at "Ok".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/core/personal_profile.h"

namespace kvqt {

// Shown for an empty destination, which means the download server.
inline constexpr const char* kDefaultDestinationText = "<default>";
inline constexpr std::size_t kCredentialLength = 8;
inline constexpr std::size_t kDestinationLength = 30;
inline constexpr int kInternetConnectionType = 4;
inline constexpr int kMaxRecordsLimit = 9999;

inline constexpr const char* kDefaultOrvistaProgramFolder = "c:\\Program Files\\Orvista2000";
inline constexpr int kDefaultOrvistaMonthsNewShare = 48;
inline constexpr const char* kUploadProtocol = "Zmodem";

inline constexpr const char* kTechnicalInvestorMaxRecordsMessage =
    "The maximum number of records for the Technical Investor must be a number between 1 and 10000";
inline constexpr const char* kTopVestMaxRecordsMessage =
    "The maximum number of records for TopVest must be a number between 1 and 10000";

// The codes offered, in order: "1", "1D", "2", "2D" ... "7D" (Technical
// Investor) and "1" ... "9D", "A", "AD" (TopVest).
const std::vector<std::string>& TechnicalInvestorFileTypeCodes();
const std::vector<std::string>& TopVestFileTypeCodes();

// "1D" -> 257, "A" -> 10, "AD" -> 266; -1 for a code of neither form.
int FileTypeNumber(std::string_view code);
// 257 -> "1D", 10 -> "A"; empty for a number no code gives.
std::string FileTypeCode(int number);
// The position in `codes` of the code with the same number as `stored`
// ("ad" finds "AD"), else of `fallback`.
int FileTypeIndex(const std::vector<std::string>& codes, std::string_view stored, std::string_view fallback);

struct ConfigurationValues {
  std::string userNumber;
  std::string password;
  std::string destination;  // "<default>" for the download server
  std::string technicalInvestorFileType;  // a code of the list
  std::string topVestFileType;
  std::string technicalInvestorMaxRecords;  // as typed
  std::string topVestMaxRecords;
  bool symbolChanges = true;        // "sinchanges"
  bool optionChanges = false;       // "optionchanges"
  bool splitFactors = false;        // "splitfactors"
  bool newVersion = true;           // "newversion"
  std::string orvistaProgramFolder;  // "orvista2kpath"
  int orvistaMonthsNewShare = kDefaultOrvistaMonthsNewShare;  // "orvista2k_months_new_share"
};

// The values the dialog opens with.
ConfigurationValues ReadConfiguration(const LoginRecord& login, const UserInfo& info, PersonalProfile& settings);

// A maximum-records field outside 1 to 9999: the field's control id and the message.
struct ConfigurationProblem {
  int field;
  std::string message;
};
inline constexpr int kTechnicalInvestorMaxRecordsField = 601;
inline constexpr int kTopVestMaxRecordsField = 603;

// A whole number from 1 to 9999 (blanks around it allowed), else nothing.
std::optional<int> ParseMaxRecords(std::string_view text);

// "Ok": checks the maximum records first and changes nothing when one is
// refused. Otherwise stores user number and password (8 characters at most),
// the destination ("<default>" as empty, 30 characters at most), the internet
// connection, file types and maximum records (and the writer settings derived
// from them), and writes the option settings, the Orvista settings and
// "uploadprotocol".
std::optional<ConfigurationProblem> ApplyConfiguration(const ConfigurationValues& values, LoginRecord& login,
                                                       UserInfo& info, PersonalProfile& settings);

}  // namespace kvqt
