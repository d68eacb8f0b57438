#include "service/session/session_progress_text.h"

#include <cstdio>

namespace kvqt {
namespace {

// A whole number of at most three digits followed by '%' and nothing else.
std::optional<int> ParsePercent(std::string_view text) {
  if (text.size() < 2 || text.size() > 4 || text.back() != '%') return std::nullopt;
  int value = 0;
  for (char c : text.substr(0, text.size() - 1)) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 100) return std::nullopt;
  return value;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::optional<TransferPercent> ParseTransferPercent(std::string_view status) {
  constexpr std::string_view kSent = "Sent: ";
  constexpr std::string_view kReceived = "Received: ";
  if (StartsWith(status, kSent)) {
    if (auto p = ParsePercent(status.substr(kSent.size()))) return TransferPercent{TransferDirection::kSent, *p};
  } else if (StartsWith(status, kReceived)) {
    if (auto p = ParsePercent(status.substr(kReceived.size())))
      return TransferPercent{TransferDirection::kReceived, *p};
  }
  return std::nullopt;
}

bool BeginsSession(std::string_view status) { return status == "Creating definition file"; }

bool BeginsResultWait(std::string_view status) {
  return status == "Creating datafile" || StartsWith(status, "Creating datafile\n");
}

bool BeginsReceive(std::string_view status) { return status == "Receiving datafile"; }

bool EndsReceive(std::string_view status) { return status == "Close session"; }

std::string ElapsedText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const long long h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
  char text[32];
  if (h > 0)
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", h, m, s);
  else
    std::snprintf(text, sizeof text, "%lld:%02lld", m, s);
  return text;
}

std::string ResultWaitText(std::int64_t seconds) { return "Waiting for the result: " + ElapsedText(seconds); }

}  // namespace kvqt
