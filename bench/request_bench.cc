// Building the request ("query.dat") for a MetaStock directory of many
// instruments, beside a bare reader of the same directory: MASTER and
// XMASTER read whole, one line per record with its symbol and the day after
// its last date, so that what the request costs beyond its masters shows.
//   request_bench [instruments [rounds]]
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/core/action_info.h"
#include "app/core/messages.h"
#include "app/core/personal_profile.h"
#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "app/model/directory.h"
#include "app/model/format.h"
#include "bench_timing.h"
#include "datetime/date.h"
#include "datetime/mbf.h"
#include "formats/directory_refresh.h"
#include "formats/format_driver.h"
#include "formats/metastock_layout.h"
#include "platform/little_endian.h"
#include "service/request_file.h"

namespace {

using kvqt::bench::Seconds;
constexpr int kMetaStock = 4;

std::string Symbol(int i) {
  char symbol[16];
  std::snprintf(symbol, sizeof symbol, "R%05d", i);
  return symbol;
}

bool Prepare(const std::string& dir, int instruments) {
  std::filesystem::create_directories(dir);
  for (int i = 0; i < instruments; ++i) {
    kvqt::DatafileEntry entry;
    entry.firstDate = kvqt::Date(2004, 1, 2);
    if (kvqt::CreateEntry(Symbol(i), "Request benchmark", 0, entry, kMetaStock, dir) != 1) return false;
  }
  return true;
}

// The program's request of one directory, with its refresh: a fresh Directory
// each round, as at the first download of a run.
double Request(const std::string& dir, const std::string& out) {
  kvqt::Format format("MS", "Metastock", kMetaStock);
  format.addDirectory(std::make_unique<kvqt::Directory>(dir, kMetaStock));
  kvqt::UserInfo userInfo;
  kvqt::LoginRecord login;
  kvqt::ActionInfo action;
  action.userInfo = &userInfo;
  action.login = &login;
  action.kind = kvqt::kSelectDirectory;
  action.type = kvqt::kUpdateNormal;
  action.sourceFormat = &format;
  action.sourceDirectory = format.directoryByName(dir);
  auto start = std::chrono::steady_clock::now();
  const int rc = kvqt::BuildRequestFile(action, out);
  const double seconds = Seconds(start);
  return rc == 0 ? seconds : -1;
}

std::vector<unsigned char> ReadWhole(const std::string& path) {
  std::vector<unsigned char> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  struct stat st;
  if (::fstat(::fileno(f), &st) == 0) bytes.resize(static_cast<std::size_t>(st.st_size));
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  return bytes;
}

std::string Trimmed(const unsigned char* p, std::size_t n) {
  std::string text(reinterpret_cast<const char*>(p), n);
  text.resize(std::min(text.find('\0'), text.size()));
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The yardstick: the masters read whole and one line written per record.
double BareRead(const std::string& dir, const std::string& out) {
  namespace ms = kvqt::metastock;
  auto start = std::chrono::steady_clock::now();
  const std::vector<unsigned char> master = ReadWhole(dir + "MASTER");
  const std::vector<unsigned char> xmaster = ReadWhole(dir + "XMASTER");
  std::FILE* f = std::fopen(out.c_str(), "wb");
  if (!f || master.size() < ms::kMasterRecordSize) return -1;
  auto line = [&](const std::string& symbol, kvqt::Date last) {
    std::fprintf(f, "%s|%ld\r\n", symbol.c_str(), static_cast<long>(last.addDays(1).value()));
  };
  const int count = kvqt::platform::GetLe16(master.data() + ms::master::kCount);
  for (int i = 1; i <= count && (i + 1) * ms::kMasterRecordSize <= master.size(); ++i) {
    const unsigned char* r = master.data() + i * ms::kMasterRecordSize;
    const float last = kvqt::MbfToFloat(r + ms::master::kLastDate);
    line(Trimmed(r + ms::master::kSymbol, ms::master::kSymbolSize), kvqt::Date::FromCYYMMDD(static_cast<int>(last)));
  }
  if (xmaster.size() >= ms::kXmasterRecordSize) {
    const int xcount = kvqt::platform::GetLe16(xmaster.data() + ms::xmaster::kCount);
    for (int i = 1; i <= xcount && (i + 1) * ms::kXmasterRecordSize <= xmaster.size(); ++i) {
      const unsigned char* r = xmaster.data() + i * ms::kXmasterRecordSize;
      line(Trimmed(r + ms::xmaster::kSymbol, 8),
           kvqt::Date::FromValue(static_cast<std::int32_t>(kvqt::platform::GetLe32(r + ms::xmaster::kLastDate))));
    }
  }
  const bool ok = std::fclose(f) == 0;
  const double seconds = Seconds(start);
  return ok ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const int instruments = argc > 1 ? std::atoi(argv[1]) : 6000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  kvqt::ScopedMessages quiet;
  char dir_template[] = "/tmp/kvqt-request-bench-XXXXXX";
  if (!mkdtemp(dir_template)) return 1;
  const std::string home = std::string(dir_template) + "/";
  const std::string dir = home + "ms/";
  kvqt::setProfilePath(home + "kvqt.ini");
  kvqt::InstallDirectoryRefresh();
  if (!Prepare(dir, instruments)) return 1;
  std::vector<double> ratios;
  double ours = 0, theirs = 0;
  for (int i = 0; i < rounds; ++i) {
    const double a = Request(dir, home + "query.dat");
    const double b = BareRead(dir, home + "bare.txt");
    if (a <= 0 || b <= 0) return 1;
    ratios.push_back(a / b);
    ours += a;
    theirs += b;
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("request over %d MetaStock entries: %.1f ms, bare master read %.1f ms; request/bare median %.2f (min %.2f, "
              "max %.2f)\n",
              instruments, ours / rounds * 1e3, theirs / rounds * 1e3, ratios[ratios.size() / 2], ratios.front(),
              ratios.back());
  std::filesystem::remove_all(home);
  return 0;
}
