// Extraction of the result archive into the working directory: the members
// the session uses are written under their own names, replacing a file of
// that name; any other member is skipped, so the archive can never replace
// one of the program's own files. The archive comes from the network, so
// every member must be a plain file name, and what it unpacks to is bounded;
// an archive that is damaged, names anything else or unpacks to too much is
// not extracted at all.
#pragma once

#include <string>
#include <vector>

namespace kvqt {

inline constexpr const char* kResultArchiveName = "result.zip";

// Results, numbered as the unzip program numbers its exit codes.
inline constexpr int kExtractOk = 0;
inline constexpr int kExtractBadMember = 2;        // a member that is not a plain file name
inline constexpr int kExtractDamaged = 3;          // not a zip archive, or damaged
inline constexpr int kExtractNotFound = 9;         // no archive
inline constexpr int kExtractWriteFailed = 50;     // a member could not be written
inline constexpr int kExtractTooLarge = 52;        // unpacks to more than the bound below
inline constexpr int kExtractUnsupported = 81;     // a compression method we cannot read
inline constexpr int kExtractEncrypted = 82;       // a member that needs a password

// What the members taken may unpack to, all together: at most the ceiling,
// at most the ratio times the archive's size (but always the floor, since a
// small archive packs tighter), and never more than the free space of the
// disk less the margin.
inline constexpr unsigned long long kUnpackCeiling = 2ULL * 1024 * 1024 * 1024;
inline constexpr unsigned long long kUnpackRatio = 100;
inline constexpr unsigned long long kUnpackFloor = 1ULL * 1024 * 1024;
inline constexpr unsigned long long kUnpackDiskMargin = 64ULL * 1024 * 1024;

// The members of a result that the session uses: "sksdat.dat", "motd.txt",
// "sintab.fd" and "_kvqt.exe".
const std::vector<std::string>& SessionMembers();

// Extracts the members of `archive` named in `wanted` (letter case aside;
// written under the spelling of `wanted`) into `directory` (ending in a
// separator, or "" for the working directory); the others are skipped, which
// the debug log notes. The members are first written to temporary files and
// only put in place when all of them were read whole and intact, so on any
// failure no file of the directory changes. kExtractOk or one of the codes
// above.
int ExtractArchive(const std::string& archive, const std::string& directory = "",
                   const std::vector<std::string>& wanted = SessionMembers());

}  // namespace kvqt
