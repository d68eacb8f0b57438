#include "platform/file_exchange.h"

#include <fcntl.h>
#include <stdio.h>

namespace kvqt::platform {

bool ExchangeFiles(const std::string& a, const std::string& b) {
  return ::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0;
}

}  // namespace kvqt::platform
