// Applies the service's symbol-table feed ("sintab.fd") to the symbol table and
// writes a readable account of every feed record to "kvqt.sdb.txt".
#pragma once

#include <cstdint>
#include <string>

#include "app/runner/progress_host.h"
#include "datetime/date.h"
#include "service/symbols/sintable.h"

namespace kvqt {

class TDigitalFeed {
 public:
  static constexpr const char* kFeedFileName = "sintab.fd";
  static constexpr const char* kDumpFileName = "kvqt.sdb.txt";

  // Loads the symbol table of `directory` (ending in a separator; "" is the
  // current directory), where the dump file is written too.
  explicit TDigitalFeed(std::string directory = "");
  // Destroys the table, which saves it when it changed.
  ~TDigitalFeed() = default;
  TDigitalFeed(const TDigitalFeed&) = delete;
  TDigitalFeed& operator=(const TDigitalFeed&) = delete;

  // The date stored as "sinchangesdate"/"splitfactorsdate" after a feed; today
  // (the program clock's) unless set.
  void setSessionDate(Date date) { session_date_ = date; }

  // Applies the feed file. 0; -1 when the feed or the dump file cannot be
  // opened (a message was shown, nothing changed); -3 when the user cancelled
  // in the dialog (the records read so far stay applied, the settings are not
  // touched). The dialog may be null.
  int ProcessFeed(const std::string& path, ProgressHost* dialog);

  // Records (0xFF starts) read by the last ProcessFeed.
  int recordCount() const { return record_count_; }
  TSintable& table() { return table_; }

 private:
  struct Dump;
  void apply(const unsigned char* record, std::size_t size, unsigned length_byte, Dump& dump, bool& end);

  std::string directory_;
  TSintable table_;
  Date session_date_;
  int record_count_ = 0;
};

// What a download session and the start-up do with a feed left in `directory`:
// apply it with a table of its own and save the table. 0; the result of
// ProcessFeed when that failed; -1 when the table could not be written, so
// that the caller keeps the feed for another try. A null session date means today.
int ImportSymbolFeed(const std::string& directory, const std::string& feed_path, ProgressHost* dialog = nullptr,
                     Date session_date = Date());

}  // namespace kvqt
