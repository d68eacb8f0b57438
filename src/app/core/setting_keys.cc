#include "app/core/setting_keys.h"

#include "platform/path.h"

namespace kvqt {

const std::vector<std::string_view>& KnownSettingKeys() {
  static const std::vector<std::string_view> keys = {
      "programdatafile", "debugmode", "orvistadefaultmarket", "WindowPositionX", "WindowPositionY",
      "DefaultDownloadDomain", "DefaultFileDownloadDomain", "DefaultFileDownloadType", "inputfilename",
      "outputformat", "outputfilename", "sinchanges", "sinchangesdate", "optionchanges", "splitfactors",
      "splitfactorsdate", "newversion", "orvista2kpath", "orvista2k_months_new_share", "uploadprotocol",
  };
  return keys;
}

bool IsKnownSettingKey(std::string_view key) {
  for (std::string_view known : KnownSettingKeys()) {
    if (platform::EqualsNoCase(known, key)) return true;
  }
  return false;
}

}  // namespace kvqt
