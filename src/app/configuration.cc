#include "app/configuration.h"

#include "app/datafile/writer_settings.h"

namespace kvqt {
namespace {

std::vector<std::string> CodesFor(std::string_view firsts) {
  std::vector<std::string> codes;
  for (char c : firsts) {
    codes.push_back(std::string(1, c));
    codes.push_back(std::string(1, c) + "D");
  }
  return codes;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string Cut(std::string_view text, std::size_t length) { return std::string(text.substr(0, length)); }

}  // namespace

const std::vector<std::string>& TechnicalInvestorFileTypeCodes() {
  static const std::vector<std::string> codes = CodesFor("1234567");
  return codes;
}

const std::vector<std::string>& TopVestFileTypeCodes() {
  static const std::vector<std::string> codes = CodesFor("123456789A");
  return codes;
}

int FileTypeNumber(std::string_view code) {
  if (code.empty() || code.size() > 2 || (code.size() == 2 && code[1] != 'D')) return -1;
  return FileTypeFromText(code, -1);
}

std::string FileTypeCode(int number) {
  bool wide = number >= 256;
  int value = wide ? number - 256 : number;
  if (value < 0 || value > 35) return {};
  std::string code(1, value < 10 ? static_cast<char>('0' + value) : static_cast<char>('A' + value - 10));
  if (wide) code += 'D';
  return code;
}

int FileTypeIndex(const std::vector<std::string>& codes, std::string_view stored, std::string_view fallback) {
  int wanted = FileTypeNumber(stored);
  int fallbackIndex = 0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (wanted >= 0 && FileTypeNumber(codes[i]) == wanted) return static_cast<int>(i);
    if (codes[i] == fallback) fallbackIndex = static_cast<int>(i);
  }
  return fallbackIndex;
}

ConfigurationValues ReadConfiguration(const LoginRecord& login, const UserInfo& info, PersonalProfile& settings) {
  ConfigurationValues values;
  values.userNumber = login.userNumber;
  values.password = login.password;
  values.destination = info.NetworkDestination.empty() ? kDefaultDestinationText : info.NetworkDestination;
  const auto& ti = TechnicalInvestorFileTypeCodes();
  const auto& tv = TopVestFileTypeCodes();
  values.technicalInvestorFileType = ti[FileTypeIndex(ti, info.savft, UserInfo{}.savft)];
  values.topVestFileType = tv[FileTypeIndex(tv, info.tpvft, UserInfo{}.tpvft)];
  values.technicalInvestorMaxRecords = std::to_string(info.savmr);
  values.topVestMaxRecords = std::to_string(info.tpvmr);
  values.symbolChanges = settings.isYes("sinchanges", "yes");
  values.optionChanges = settings.isYes("optionchanges", "no");
  values.splitFactors = settings.isYes("splitfactors", "no");
  values.newVersion = settings.isYes("newversion", "yes");
  values.orvistaProgramFolder = settings.getString("orvista2kpath", kDefaultOrvistaProgramFolder);
  values.orvistaMonthsNewShare = settings.getInt("orvista2k_months_new_share", kDefaultOrvistaMonthsNewShare);
  return values;
}

std::optional<int> ParseMaxRecords(std::string_view text) {
  text = Trimmed(text);
  if (text.empty() || text.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxRecordsLimit) return std::nullopt;
  return value;
}

std::optional<ConfigurationProblem> ApplyConfiguration(const ConfigurationValues& values, LoginRecord& login,
                                                       UserInfo& info, PersonalProfile& settings) {
  std::optional<int> tiMax = ParseMaxRecords(values.technicalInvestorMaxRecords);
  if (!tiMax) return ConfigurationProblem{kTechnicalInvestorMaxRecordsField, kTechnicalInvestorMaxRecordsMessage};
  std::optional<int> tvMax = ParseMaxRecords(values.topVestMaxRecords);
  if (!tvMax) return ConfigurationProblem{kTopVestMaxRecordsField, kTopVestMaxRecordsMessage};

  login.userNumber = Cut(values.userNumber, kCredentialLength);
  login.password = Cut(values.password, kCredentialLength);

  std::string_view destination = Trimmed(values.destination);
  info.NetworkDestination = destination == kDefaultDestinationText ? std::string() : Cut(destination, kDestinationLength);
  info.connection = kInternetConnectionType;

  // A code not of the lists keeps what is stored.
  if (FileTypeNumber(values.technicalInvestorFileType) >= 0) info.savft = values.technicalInvestorFileType;
  if (FileTypeNumber(values.topVestFileType) >= 0) info.tpvft = values.topVestFileType;
  info.savmr = *tiMax;
  info.tpvmr = *tvMax;
  writerSettings() = DeriveWriterSettings(info);

  settings.putYesNo("sinchanges", values.symbolChanges);
  settings.putYesNo("optionchanges", values.optionChanges);
  settings.putYesNo("splitfactors", values.splitFactors);
  settings.putYesNo("newversion", values.newVersion);
  settings.putString("orvista2kpath", values.orvistaProgramFolder);
  settings.putInt("orvista2k_months_new_share", values.orvistaMonthsNewShare);
  settings.putString("uploadprotocol", kUploadProtocol);
  return std::nullopt;
}

}  // namespace kvqt
