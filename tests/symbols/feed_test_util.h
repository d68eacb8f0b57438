// Feed records for the tests, framed by hand: 0xFF, the length byte, the type
// and the fields in hex, texts blank-padded to their widths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/runner/progress_host.h"
#include "support/hex.h"

namespace kvqt::testing {

inline std::string FeedText(const std::string& text, std::size_t width) { return Padded(text, width, ' '); }
inline std::string Le24(std::uint32_t v) { return Le32(static_cast<long>(v)).substr(0, 3); }

// Frames a record body (type byte first): 0xFF, then the length counting itself.
inline std::string Frame(const std::string& body) {
  return std::string(1, '\xff') + static_cast<char>(body.size() + 1) + body;
}

// Instrument record of type 5 (no start date) or 11 (YYMMDD start date).
inline std::string InstrumentHex(int type, std::uint32_t sincode, int flags, const std::string& symbol,
                                 const std::string& name, int currency, int exchange, int security_type,
                                 std::uint32_t yymmdd = 0) {
  std::string body = Hex("00 00 00") + Le24(sincode) + static_cast<char>(flags) + FeedText(symbol, 8) +
                     FeedText(name, 35) + Le16(currency) + Le16(exchange) + static_cast<char>(security_type);
  if (type == 11) body += Hex("00 00 00") + Le24(yymmdd);
  return Frame(static_cast<char>(type) + body);
}

inline std::string ItemHex(int item_type, int extra, long code, const std::string& name) {
  return Frame(Hex("08 00 00 00") + static_cast<char>(item_type) + static_cast<char>(extra) + Le32(code) +
               FeedText(name, 35));
}

inline std::string SplitHex(long record_date, std::uint32_t sincode, const std::string& symbol, long split_date,
                            const std::string& factor_le, const std::string& name) {
  return Frame(Hex("0a 00 00 00") + Le32(record_date) + Le24(sincode) + FeedText(symbol, 8) + Le32(split_date) +
               Hex(factor_le) + FeedText(name, 35));
}

// A dialog that records its status lines and cancels on request.
class FakeDialog : public ProgressHost {
 public:
  void status(std::string_view text, bool log) override {
    statuses.emplace_back(text);
    logged = logged || log;
  }
  void line2(std::string_view) override {}
  void line3(std::string_view) override {}
  void error(std::string_view) override {}
  bool cancelled() const override { return ++looks > cancel_after; }
  void terminalOutput(char) override {}
  void pumpMessages() override { ++pumps; }

  std::vector<std::string> statuses;
  bool logged = false;
  int pumps = 0;
  mutable int looks = 0;
  int cancel_after = 1 << 30;
};

}  // namespace kvqt::testing
