// The program data file ("kvqt.dat"): `UserInfo` and the whole format tree.
// These functions only read and write bytes and files; the start-up load and
// exit save around them are in program_data.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/datafile/user_info.h"
#include "app/model/formats.h"

namespace kvqt {

inline constexpr const char* kDataFileName = "kvqt.dat";
// The predecessor product's data file, imported once when there is no data file.
inline constexpr const char* kPredecessorDataFileName = "korv.dat";

inline constexpr std::uint32_t kStreamFormat = 257;
inline constexpr std::int32_t kDataFileVersion = 30204;
// Versions up to this one have the 250-byte `UserInfo`.
inline constexpr std::int32_t kLastOldUserInfoVersion = 10504;
// Versions up to this one store the current format as an index in name order.
inline constexpr std::int32_t kLastCurrentIndexVersion = 20302;
inline constexpr int kMaxStoredFormats = 23;

// Results of reading.
inline constexpr int kDataFileMissing = -1;  // cannot be opened: defaults and the built-in formats
inline constexpr int kDataFileDamaged = -2;  // cut short or corrupt: what was read stands, the rest defaults
inline constexpr int kTooManyFormats = -34;  // more than 23 formats: nothing but `UserInfo` is taken

struct DataFileReadOptions {
  // A predecessor file: formats with ids 1, 2, 3, 7 and 12 are dropped.
  bool importingPredecessor = false;
  // Market number of the entries whose format does not store one.
  int defaultMarket = 30;
};

struct DataFileInfo {
  std::uint32_t streamFormat = 0;
  std::int32_t version = 0;
  int storedFormats = 0;
  // The formats taken from the file (before the built-in ones are merged).
  int readFormats = 0;
  std::size_t fileSize = 0;
  // Where a damaged file stopped making sense.
  std::size_t damageOffset = 0;
};

// Fills `info` (from the defaults) and `formats` (cleared first) from the bytes
// of a data file, merges the built-in formats and makes the stored current
// format current. Returns 0, kDataFileDamaged or kTooManyFormats (then
// `formats` stays empty and there is no merge). `userInfo.connection` is clamped.
int DecodeProgramDataFile(std::string_view bytes, const DataFileReadOptions& options, UserInfo& userInfo,
                          Formats& formats, DataFileInfo* info = nullptr);

// The same from a file; kDataFileMissing when it cannot be opened, with the
// `UserInfo` defaults and the built-in formats, the first in name order current.
int ReadProgramDataFile(const std::string& path, const DataFileReadOptions& options, UserInfo& userInfo,
                        Formats& formats, DataFileInfo* info = nullptr);

// The bytes of the current layout: stream format 257, version 30204. A
// directory stores its selected entries and those that hold what a refresh
// cannot rebuild (realtime, a price factor other than 1), and none at all when
// it has no entry of the second kind and its selection mode is not 2. A
// directory of a format without a master (Orvista 2000) stores all its entries.
std::string EncodeProgramDataFile(const UserInfo& userInfo, const Formats& formats);

}  // namespace kvqt
