// Searches a catalogue of 100,000 instruments as the search dialog does and
// reports the time per search next to a plain walk over the same names, so a
// slowdown in the matching shows at once.
//   search_bench [instruments]
#include "bench_timing.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "maintenance/instrument_search.h"
#include "maintenance/security_types.h"

namespace {

using kvqt::bench::Seconds;

constexpr int kRounds = 20;

const char* const kWords[] = {"Bank", "Holding", "Trust", "Energy", "Urban", "Global", "Index", "Fund"};

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  std::vector<kvqt::SinInstrument> instruments(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) {
    kvqt::SinInstrument& r = instruments[static_cast<std::size_t>(i)];
    r.sincode = i + 1;
    r.symbol = "S" + std::to_string(i);
    r.name = std::string(kWords[i % 8]) + " " + kWords[(i / 8) % 8] + " number " + std::to_string(i);
    r.exchange = static_cast<std::int16_t>(i % 40);
    r.currency = static_cast<std::int16_t>(i % 7);
    r.security_type = static_cast<std::uint8_t>(i % 5 == 0 ? 0 : 16);
  }

  // The loop every search has to make anyway: one look at each name.
  auto start = std::chrono::steady_clock::now();
  long touched = 0;
  for (int round = 0; round < kRounds; ++round)
    for (const kvqt::SinInstrument& r : instruments) touched += static_cast<long>(r.name.view().size());
  const double walk = Seconds(start) / kRounds;

  struct Case {
    const char* what;
    kvqt::SearchCriteria criteria;
  } cases[] = {
      {"name \"ban\"", {.conditions = kvqt::kSearchName, .name = "ban"}},
      {"name, long text", {.conditions = kvqt::kSearchName, .name = "holding number 9999"}},
      {"symbol \"S99\"", {.conditions = kvqt::kSearchSymbol, .symbol = "S99"}},
      {"indices", {.conditions = kvqt::kSearchSecurityType, .securityType = kvqt::kSecurityTypeIndex}},
      {"name and exchange", {.conditions = kvqt::kSearchName | kvqt::kSearchExchange, .name = "trust", .exchange = 3}},
  };
  std::printf("catalogue: %d instruments (checksum %ld)\n", count, touched);
  std::printf("walk over the names:       %8.3f ms\n", walk * 1000);
  std::vector<std::int32_t> hits;
  for (const Case& c : cases) {
    start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) kvqt::MatchInstruments(c.criteria, instruments, hits);
    const double each = Seconds(start) / kRounds;
    std::printf("%-26s %8.3f ms  (%.1f x walk, %zu found)\n", c.what, each * 1000, walk > 0 ? each / walk : 0.0,
                hits.size());
  }
  return 0;
}
