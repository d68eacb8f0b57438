// A small store with hand-picked records whose answers tests can write out:
// ABC trades 2 to 12 January 2024 (closes 10.5, 11.5, ... on the weekdays),
// with one-minute bars at 09:00-09:09 on the 11th and 12th and ticks on the
// 12th; "NEW" was "OLD" until 1 March; "GONE" was delisted; OPT1 is an option.
#pragma once

#include <memory>
#include <string>

#include "store.h"

namespace kvqt::testing {

inline constexpr int kAbc = 501;

std::unique_ptr<server::Store> MakeSmallStore(const std::string& path);

}  // namespace kvqt::testing
