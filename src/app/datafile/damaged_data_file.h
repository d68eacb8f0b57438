// A data file that was cut short or corrupt: what the user is told about it,
// and the copies of it that are kept beside it.
#pragma once

#include <string>

#include "app/datafile/program_data_file.h"
#include "app/model/formats.h"

namespace kvqt {

// Beside a damaged data file, the copy kept of it.
inline constexpr const char* kDamagedCopySuffix = ".damaged";

// Keeps a copy of the damaged file at `path`: "<path>.damaged", or, when an
// earlier damaged copy with other bytes holds that name, "<path>.damaged.2",
// ".3" and so on. A copy with the same bytes is the copy already. Returns its
// path; empty when none could be made.
std::string KeepDamagedCopy(const std::string& path);

// Says that the file was damaged, what of it was kept, and where the copy is.
std::string DamageReport(const std::string& path, const DataFileInfo& info, const Formats& formats,
                         const std::string& copy);

}  // namespace kvqt
