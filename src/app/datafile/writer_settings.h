// File type and ring size that the Technical Investor and TopVest writers give
// new data files, derived from `UserInfo` when the program data file is loaded.
#pragma once

#include <string_view>

#include "app/datafile/user_info.h"

namespace kvqt {

struct WriterSettings {
  static constexpr int kDefaultTechnicalInvestorFileType = 257;
  static constexpr int kDefaultTopVestFileType = 264;
  static constexpr int kDefaultMaxRecords = 4000;

  int technicalInvestorFileType = kDefaultTechnicalInvestorFileType;
  int technicalInvestorMaxRecords = kDefaultMaxRecords;
  int topVestFileType = kDefaultTopVestFileType;
  int topVestMaxRecords = kDefaultMaxRecords;

  friend bool operator==(const WriterSettings&, const WriterSettings&) = default;
};

// The settings in force for this run.
WriterSettings& writerSettings();
void ResetWriterSettings();

// "1D" -> 257: the first character as a hexadecimal digit ('0'-'9', then 'A'
// or 'a' = 10 onward), plus 256 when the second is 'D'. A first character that
// is no digit or letter gives `fallback`.
int FileTypeFromText(std::string_view text, int fallback);

// From `savft`/`savmr` and `tpvft`/`tpvmr`; maximum records are the low 16 bits.
WriterSettings DeriveWriterSettings(const UserInfo& info);

}  // namespace kvqt
