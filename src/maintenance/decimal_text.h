// Numbers typed into the data manager's fields. Read and written with a
// point as the decimal mark whatever the locale, so a field shows what it
// will read back.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

// The decimal number at the start of the text (blanks before it allowed);
// text that is no number, or no finite number, reads as 0.
double ParseDecimalText(std::string_view text);
// The same for a 32-bit float field: a number beyond its range reads as 0.
float ParseFloatText(std::string_view text);

// printf's "%.<decimals>f", with a point.
std::string FixedText(double value, int decimals);

}  // namespace kvqt
