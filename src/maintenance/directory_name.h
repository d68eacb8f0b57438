// The add-directory dialog's "&Add": the typed directory name checked, and a
// missing directory made with its parents once the user agrees.
#pragma once

#include <string>
#include <string_view>

namespace kvqt {

inline constexpr const char* kSpecifyDirectoryMessage = "Specify directoryname";
inline constexpr const char* kCreateDirectoryQuestion = "The directory %s does not exist. Create it?";
inline constexpr const char* kNoDriveMessage = "No drive specified in directoryname";
inline constexpr const char* kInvalidDirectoryMessage = "Invalid directory name";
inline constexpr const char* kNotADirectoryText = "is not a directory";
inline constexpr const char* kCouldNotCreateText = "Could not create";

// The longest path a Directory keeps (its field holds 768 bytes with the NUL).
inline constexpr std::size_t kLongestDirectoryPath = 767;

// The directory path ending in a separator, or empty after a message (or the
// answer No to the create question) when the dialog stays open. Messages and
// the question go through the program's message interface.
std::string AcceptDirectoryName(std::string_view typed);

}  // namespace kvqt
