#include "maintenance/add_directory.h"

#include <sys/stat.h>

#include <memory>

#include "formats/ascii_index.h"
#include "formats/driver_table.h"
#include "formats/file_locator.h"
#include "formats/format_driver.h"
#include "platform/path.h"

namespace kvqt {
namespace {

constexpr int kFoundFormerAscii = -2;
constexpr int kFoundNothing = 23;

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Makes the directory when it is missing; false with the reason.
bool MakeDirectory(const std::string& path, AddedDirectory& added) {
  const std::string bare = path.size() > 1 ? path.substr(0, path.size() - 1) : path;
  if (platform::DirectoryExists(path)) return true;
  if (PathExists(bare)) {
    added.message = "ERROR: " + bare + " exists and is not a directory";
    return false;
  }
  if (!platform::MakeDirectories(path) || !platform::DirectoryExists(path)) {
    added.message = "ERROR: Unable to create directory " + bare;
    return false;
  }
  added.created = true;
  return true;
}

// The older index is either a headerless "master.kvq" or the legacy "master.bin".
int ConvertFormerAscii(int formatId, const std::string& path) {
  if (!FindExistingFile(path, ascii_index::kIndexName).empty())
    return ascii_index::ConvertFormerIndex(formatId, path);
  return ascii_index::ConvertLegacyIndex(formatId, path);
}

// Whether the directory may join the format: made when missing, detected, and
// an older ASCII index converted after the answer Yes.
bool FitsFormat(const std::string& path, const Formats& formats, const Format& format, const ConvertAnswer& convert,
                AddedDirectory& added) {
  if (!MakeDirectory(path, added)) return false;
  DetectResult detected = DetectFormat(path, format.formatId());
  // The detection lets any format "fit" an older ASCII index whose data file it
  // cannot open; only the ASCII formats can take that index over.
  if (detected.found == kFoundFormerAscii && MasterKindOf(format.formatId()) != MasterKind::kAsciiIndex)
    detected.fits = false;
  if (!detected.fits) {
    added.message = MismatchMessage(detected.found, formats);
    return false;
  }
  if (detected.found == kFoundFormerAscii) {
    if (!convert || !convert()) {
      added.declined = true;
      added.message = kConvertQuestion;
      return false;
    }
    if (ConvertFormerAscii(format.formatId(), path) != 0) {
      added.message = "Could not convert the Ascii Masterfile of " + path;
      return false;
    }
    added.converted = true;
  }
  return true;
}

}  // namespace

std::string MismatchMessage(int found, const Formats& formats) {
  if (found == kFoundFormerAscii) return kFormerAsciiMessage;
  const Format* other = found == kFoundNothing ? nullptr : formats.findById(found);
  if (!other) return kOtherFormatMessage;
  return std::string(kOtherFormatMessage) + ":\n" + other->name();
}

AddedDirectory AddDirectoryToFormat(const std::string& path, const Formats& formats, Format& format,
                                    const ConvertAnswer& convert) {
  AddedDirectory added;
  if (Directory* existing = format.directoryByName(path)) {
    added.alreadyInFormat = true;
    added.directory = existing;
  } else {
    if (!FitsFormat(path, formats, format, convert, added)) return added;
    format.addDirectory(std::make_unique<Directory>(path, format.formatId()));
    added.directory = format.directoryByName(path);
  }
  format.setCurrentDirectory(added.directory->name());
  return added;
}

AddedDirectory AddDirectoryToList(const std::string& path, const Formats& formats, Format& format, List& list,
                                  const ConvertAnswer& convert) {
  AddedDirectory added = AddDirectoryToFormat(path, formats, format, convert);
  if (!added.directory) return added;
  const std::string name = added.directory->name();
  if (Directory* existing = list.directoryByName(name)) {
    added.alreadyInList = true;
    added.directory = existing;
  } else {
    list.addDirectory(std::make_unique<Directory>(name, format.formatId()));
    added.directory = list.directoryByName(name);
  }
  list.setCurrent(std::string_view(name));
  return added;
}

}  // namespace kvqt
