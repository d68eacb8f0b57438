// Paths on a system whose databases often come from a case-insensitive one:
// existing files are found within their directory regardless of case, new files
// get exactly the spelling the caller gives.
#pragma once

#include <string>
#include <string_view>

namespace kvqt::platform {

inline constexpr char kPathSeparator = '/';

// Appends a separator unless the path already ends in one.
std::string EnsureTrailingSeparator(std::string path);
bool EndsWithSeparator(std::string_view path);
bool IsAbsolutePath(std::string_view path);

// The directory part with its trailing separator ("" for a bare name), and the name part.
std::string DirectoryPart(std::string_view path);
std::string FileNamePart(std::string_view path);

// Case-insensitive (ASCII) comparison, as directory paths compare in the data model.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

// The path of an existing file called `name` in `directory` (which ends in a
// separator or is empty for the current directory), matched regardless of
// case, preferring the exact spelling; directory + name when none exists.
std::string FindFileNoCase(const std::string& directory, const std::string& name);
// Splits path into directory and name and resolves the name as above.
std::string ResolveNoCase(const std::string& path);

// Copies a file; never replaces an existing destination. The copy is created
// with `mode` (less the umask) from its first byte. False on any failure.
bool CopyFileNoOverwrite(const std::string& from, const std::string& to, unsigned mode = 0644);

// Creates the directory and its parents; true when it exists afterwards.
bool MakeDirectories(const std::string& path);

}  // namespace kvqt::platform
