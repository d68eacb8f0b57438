// Drive c: of Windows paths. Users run their Windows chart packages under
// Wine, whose C: drive holds their databases; without a Wine prefix the home
// directory stands in for it.
#pragma once

#include <string>
#include <string_view>

namespace kvqt::platform {

// $WINEPREFIX/drive_c/ (default ~/.wine/drive_c/) when that directory exists,
// else the home directory; with a trailing separator.
std::string DriveCDirectory();

// A path written for Windows ("c:\Equis\Data\", "C:/sis", "c:Program Files")
// as a path here: drive c: becomes DriveCDirectory() and backslashes become
// separators. Any other path is returned as it is.
std::string FromWindowsPath(std::string_view path);

}  // namespace kvqt::platform
