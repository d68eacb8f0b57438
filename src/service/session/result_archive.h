// Extraction of the result archive into the working directory: every member
// is written under its own name, replacing a file of that name. The archive
// comes from the network, so every member must be a plain file name; an
// archive that is damaged or names anything else is not extracted at all.
#pragma once

#include <string>

namespace kvqt {

inline constexpr const char* kResultArchiveName = "result.zip";

// Results, numbered as the unzip program numbers its exit codes.
inline constexpr int kExtractOk = 0;
inline constexpr int kExtractBadMember = 2;        // a member that is not a plain file name
inline constexpr int kExtractDamaged = 3;          // not a zip archive, or damaged
inline constexpr int kExtractNotFound = 9;         // no archive
inline constexpr int kExtractWriteFailed = 50;     // a member could not be written
inline constexpr int kExtractTooLarge = 52;        // unpacks to more than 4 GiB
inline constexpr int kExtractUnsupported = 81;     // a compression method we cannot read
inline constexpr int kExtractEncrypted = 82;       // a member that needs a password

// Extracts every member of `archive` into `directory` (ending in a separator,
// or "" for the working directory). The members are first written to
// temporary files and only put in place when all of them were read whole and
// intact, so on any failure no file of the directory changes. kExtractOk or
// one of the codes above.
int ExtractArchive(const std::string& archive, const std::string& directory = "");

}  // namespace kvqt
