// What the server answers to an uploaded request file: the price lines of
// "sksdat.dat" and, when asked for and available, the symbol-table feed, the
// message of the day and a newer release. Each request line is kept with the
// number of lines it was answered with, for the server's log.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datetime/date.h"
#include "store.h"

namespace kvqt::server {

struct ResultContext {
  Date today;        // the day of a real-time price
  std::time_t now = 0;  // stamped into the feed
};

struct AnsweredLine {
  std::string request;  // the line as received, without its line end
  long lines = 0;       // result lines written for it
  std::string note;     // why it got nothing, when it did not
};

struct ResultFiles {
  std::string sksdat;
  std::optional<std::string> feed;     // sintab.fd
  std::optional<std::string> motd;     // motd.txt
  std::optional<std::string> release;  // _kvqt.exe
  std::vector<AnsweredLine> answers;
};

// The most result text one session may produce; lines beyond it get nothing.
inline constexpr std::size_t kMaxResultBytes = 64u << 20;

// One price line of the result: symbol, date, [time,] volume, prices.
std::string DailyLine(const std::string& symbol, const DailyPrice& p);
std::string BarLine(const std::string& symbol, const Bar& b);
std::string TickLine(const std::string& symbol, const Tick& t);
// A price with at most four decimals and no trailing zeros ("12.5", "100").
std::string FormatPrice(double price);

ResultFiles BuildResult(const Store& store, std::string_view request_file, const ResultContext& context);

}  // namespace kvqt::server
