// The symbol-table feed ("sintab.fd") of a session's result, from the store:
// the full table, the changes since a date, and the split factors recorded
// since a date, as the request file asked.
#pragma once

#include <ctime>
#include <string>

#include "store.h"

namespace kvqt::server {

struct FeedRequest {
  bool exchanges = false;    // REQUEST 3|17
  bool currencies = false;   // REQUEST 3|18
  bool instruments = false;  // REQUEST 3|23
  int changes_since = -1;    // REQUEST 3|22 / 3|24; -1 when not asked
  bool changes_with_options = false;
  int splits_since = -1;     // REQUEST 3|21; -1 when not asked

  bool wanted() const {
    return exchanges || currencies || instruments || changes_since >= 0 || splits_since >= 0;
  }
};

// The feed bytes; now goes into the feed's time record.
std::string BuildSymbolFeed(const Store& store, const FeedRequest& request, std::time_t now);

}  // namespace kvqt::server
