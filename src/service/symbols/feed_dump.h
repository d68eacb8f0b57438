// The lines of "kvqt.sdb.txt", the readable account of every feed record,
// without their line ends.
#pragma once

#include <string>

#include "service/symbols/feed_messages.h"

namespace kvqt {

// `computed_check` is the check value of the record's bytes (controls 3 and 4).
std::string DumpControlLine(const FeedControlRecord& r, std::uint16_t computed_check);
std::string DumpInstrumentLine(const FeedInstrumentRecord& r);
std::string DumpItemLine(const FeedItemRecord& r);
std::string DumpValueLine(const FeedValueRecord& r);
std::string DumpSplitFactorLine(const FeedSplitFactorRecord& r);
std::string DumpUnknownLine(int message_type);
inline constexpr const char* kDumpIllegalItemType = "Illegal itemtype";
// A record too short for its type is not applied.
std::string DumpShortRecordLine(int message_type, std::size_t size);

}  // namespace kvqt
