// Ticker/names files: plain text files that rename the entries of a MetaStock
// directory, or add new instruments (with empty data files) to a directory.
// Messages go to the user; the result tells the caller whether the file was
// worked through (0) or the run stopped at an error already shown (-1).
#pragma once

#include <string>

#include "datetime/date.h"

namespace kvqt {

class Format;
class Directory;

int insertNames(const std::string& fileName, Directory& directory);
int insertSymbolsAsNames(const std::string& fileName, Directory& directory);
// `startDate` is used for lines without one of their own.
int addToMaster(const std::string& fileName, Date startDate, Format& format, Directory& directory);
int addSymbols(const std::string& fileName, Date startDate, Format& format, Directory& directory);

}  // namespace kvqt
