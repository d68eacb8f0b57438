// Applies a symbol-table feed of 100,000 instruments and reports the time next
// to reading the same bytes raw, so a slowdown in the table shows at once.
//   feed_bench [instruments]
#include "bench_timing.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "feed_writer.h"
#include "service/symbols/digital_feed.h"

namespace {

using kvqt::bench::Seconds;

// The byte loop of the feed reader without the records' work.
long ReadRaw(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  long sum = 0;
  for (int c; (c = std::getc(f)) != EOF;) sum += c;
  std::fclose(f);
  return sum;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
  char dir_template[] = "/tmp/kvqt-feed-bench-XXXXXX";
  if (!mkdtemp(dir_template)) return 1;
  const std::string dir = std::string(dir_template) + "/";
  kvqt::setProfilePath(dir + "kvqt.ini");
  kvqt::ScopedMessages quiet;

  kvqt::feed_writer::FeedContents contents;
  contents.instruments.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    kvqt::feed_writer::Instrument r;
    r.sincode = i;
    r.symbol = "S" + std::to_string(i);
    r.name = "Instrument number " + std::to_string(i);
    r.currency = 3;
    r.exchange = 42;
    r.security_type = 16;
    r.start_date = 20000103;
    contents.instruments.push_back(r);
  }
  const std::string feed_path = dir + "sintab.fd";
  const std::string feed = kvqt::feed_writer::BuildFeed(contents);
  std::FILE* f = std::fopen(feed_path.c_str(), "wb");
  if (!f || std::fwrite(feed.data(), 1, feed.size(), f) != feed.size()) return 1;
  std::fclose(f);

  auto start = std::chrono::steady_clock::now();
  const long sum = ReadRaw(feed_path);
  const double raw = Seconds(start);

  start = std::chrono::steady_clock::now();
  int result, records;
  {
    kvqt::TDigitalFeed processor(dir);
    result = processor.ProcessFeed(feed_path, nullptr);
    records = processor.recordCount();
  }
  const double added = Seconds(start);

  // The same feed again over the full table: every record is found and left alone.
  start = std::chrono::steady_clock::now();
  int instruments;
  {
    kvqt::TDigitalFeed processor(dir);
    processor.ProcessFeed(feed_path, nullptr);
    instruments = processor.table().instrumentCount();
  }
  const double again = Seconds(start);

  std::printf("feed: %d instruments, %zu bytes, %d records (checksum %ld)\n", count, feed.size(), records, sum);
  std::printf("read raw:                  %8.3f s\n", raw);
  std::printf("apply to an empty table:   %8.3f s  (%.1f x raw; load, dump, save included)\n", added,
              raw > 0 ? added / raw : 0.0);
  std::printf("apply to the full table:   %8.3f s  (%d instruments)\n", again, instruments);
  for (const char* name : {"sintab.fd", "kvqt.sdb", "kvqt.sdb.txt", "kvqt.ini"}) std::remove((dir + name).c_str());
  rmdir(dir_template);
  return result == 0 && instruments == count ? 0 : 1;
}
