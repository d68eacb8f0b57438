// Swapping two files' names in one step.
#pragma once

#include <string>

namespace kvqt::platform {

// Exchanges the files at `a` and `b` (both must exist, on one filesystem)
// atomically: at no moment does either name lack a file. False with errno
// set when it failed, EINVAL or ENOSYS where the filesystem cannot.
bool ExchangeFiles(const std::string& a, const std::string& b);

}  // namespace kvqt::platform
