// The demo market of init-demo: a few exchanges and currencies, some fifty
// instruments of every security type, ten years of weekday daily prices,
// one-minute bars (and ticks for some stocks) for the last five trading days,
// splits, renames, a delisting and the demo users. Everything follows from the
// given "today" alone, so two runs with the same day give the same store.
#pragma once

#include <string>

#include "datetime/date.h"
#include "store.h"

namespace kvqt::server {

inline constexpr const char* kDemoLogin = "demo0vqx";
inline constexpr const char* kDemoPassword = "demopass";
inline constexpr const char* kDemoCredit = "Demo account, unlimited downloads";
// A user whose subscription has ended: logged in, then denied the service.
inline constexpr const char* kExpiredLogin = "gone0vqx";
inline constexpr const char* kExpiredPassword = "gonepass";

// The store value that records the demo's "today" (YYYYMMDD).
inline constexpr const char* kTodayKey = "today";

// The weekdays of the market: Monday to Friday, no holidays.
bool IsTradingDay(Date date);
// The last trading day on or before the date.
Date LastTradingDay(Date date);

// Fills an empty store; 0, or -1 with the reason in *error.
int InitDemo(Store& store, Date today, std::string* error);

}  // namespace kvqt::server
