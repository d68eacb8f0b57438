// How the dialogs show a date in a field or a text: "%d/%d/%04d"
// (day/month/year), the form they also read back.
#pragma once

#include <string>

#include "datetime/date.h"

namespace kvqt {

std::string DateFieldText(Date date);

}  // namespace kvqt
