#include "kvqt-config/arguments.h"

#include <sys/stat.h>

#include <charconv>
#include <filesystem>

#include "platform/path.h"

namespace kvqt::config {
namespace {

bool ParseId(std::string_view text, int& id) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, id);
  return ec == std::errc() && ptr == end;
}

}  // namespace

Format* FindFormatArgument(Formats& formats, std::string_view text, std::ostream& err) {
  int id = 0;
  if (ParseId(text, id)) {
    if (Format* format = formats.findById(id)) return format;
  } else {
    for (int i = 0; i < formats.count(); ++i) {
      if (platform::EqualsNoCase(formats.at(i)->symbol(), text)) return formats.at(i);
    }
  }
  err << "kvqt-config: no format " << text << " (kvqt-config show lists the formats)\n";
  return nullptr;
}

Format* FindDirectoryFormatArgument(Formats& formats, std::string_view text, std::ostream& err) {
  Format* format = FindFormatArgument(formats, text, err);
  if (format && !format->hasDirectories()) {
    err << "kvqt-config: format " << format->symbol() << " (" << format->name()
        << ") is an output format only and has no directories\n";
    return nullptr;
  }
  return format;
}

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool AbsolutePath(std::string_view text, std::string& path, std::ostream& err) {
  std::filesystem::path result{std::string(text)};
  if (result.is_relative()) {
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    if (error) {
      err << "kvqt-config: cannot tell the current directory: " << error.message() << "\n";
      return false;
    }
    result = current / result;
  }
  path = result.lexically_normal().string();
  return true;
}

std::string DirectoryArgument(std::string_view text, std::ostream& err) {
  // As the add-directory dialog: a trailing separator does not count.
  while (text.size() > 1 && text.back() == platform::kPathSeparator) text.remove_suffix(1);
  if (text.empty()) {
    err << "kvqt-config: Specify directoryname\n";
    return std::string();
  }
  std::string absolute;
  if (!AbsolutePath(text, absolute, err)) return std::string();
  std::string directory = platform::EnsureTrailingSeparator(absolute);
  if (directory.size() > kMaxDirectoryPath) {
    err << "kvqt-config: directory name longer than " << kMaxDirectoryPath << " characters: " << directory << "\n";
    return std::string();
  }
  return directory;
}

}  // namespace kvqt::config
