#include "kvqt-config/directory_check.h"

#include "formats/ascii_index.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "kvqt-config/arguments.h"
#include "platform/path.h"

namespace kvqt::config {
namespace {

constexpr int kFoundFormerAscii = -2;
constexpr int kFoundNothing = 23;

// Makes the directory when it is missing; false with the dialog's message.
bool MakeDirectory(const std::string& path, DirectoryCheck& check) {
  const std::string bare = path.size() > 1 ? path.substr(0, path.size() - 1) : path;
  if (platform::DirectoryExists(path)) return true;
  if (PathExists(bare)) {
    check.message = "ERROR: " + bare + " exists and is not a directory";
    return false;
  }
  if (!platform::MakeDirectories(path) || !platform::DirectoryExists(path)) {
    check.message = "ERROR: Unable to create directory " + bare;
    return false;
  }
  check.created = true;
  return true;
}

// The older index is either a headerless "master.kvq" or the legacy "master.bin".
int ConvertFormerAscii(int formatId, const std::string& path) {
  if (!FindExistingFile(path, ascii_index::kIndexName).empty())
    return ascii_index::ConvertFormerIndex(formatId, path);
  return ascii_index::ConvertLegacyIndex(formatId, path);
}

}  // namespace

std::string MismatchMessage(int found, const Formats& formats) {
  if (found == kFoundFormerAscii) return kFormerAsciiMessage;
  const Format* other = found == kFoundNothing ? nullptr : formats.findById(found);
  if (!other) return kOtherFormatMessage;
  return std::string(kOtherFormatMessage) + ":\n" + other->name();
}

bool CheckDirectoryForFormat(const std::string& path, const Formats& formats, const Format& format, bool convert,
                             DirectoryCheck& check) {
  check = DirectoryCheck();
  if (!MakeDirectory(path, check)) return false;
  DetectResult detected = DetectFormat(path, format.formatId());
  // The detection lets any format "fit" an older ASCII index whose data file it
  // cannot open; only the ASCII formats can take that index over.
  if (detected.found == kFoundFormerAscii && MasterKindOf(format.formatId()) != MasterKind::kAsciiIndex)
    detected.fits = false;
  if (!detected.fits) {
    check.message = MismatchMessage(detected.found, formats);
    return false;
  }
  if (detected.found == kFoundFormerAscii) {
    if (!convert) {
      check.needsConvert = true;
      check.message = kConvertQuestion;
      return false;
    }
    if (ConvertFormerAscii(format.formatId(), path) != 0) {
      check.message = "Could not convert the Ascii Masterfile of " + path;
      return false;
    }
    check.converted = true;
  }
  return true;
}

}  // namespace kvqt::config
