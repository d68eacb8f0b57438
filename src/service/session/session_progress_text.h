// The texts a window follows a download session by: the transfer's
// percentages among the status texts, the statuses that begin the session,
// the wait for the result and the receipt, and the elapsed time of the wait.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvqt {

enum class TransferDirection { kSent, kReceived };

struct TransferPercent {
  TransferDirection direction;
  int percent;  // 0 to 100
};

// "Sent: 42%" and "Received: 100%", as the file transfer shows its progress;
// none for any other text.
std::optional<TransferPercent> ParseTransferPercent(std::string_view status);

// The first status of a session ("Creating definition file").
bool BeginsSession(std::string_view status);
// The status shown while the server prepares the result ("Creating datafile" and the credit).
bool BeginsResultWait(std::string_view status);
// The status before the result comes down ("Receiving datafile").
bool BeginsReceive(std::string_view status);
// The status once the whole result has come ("Close session"): the last
// partial block shows no percentage of its own.
bool EndsReceive(std::string_view status);

// A duration as minutes and seconds ("0:07", "12:34"), from an hour on with
// the hours in front ("1:00:00"); a negative duration counts as 0.
std::string ElapsedText(std::int64_t seconds);
// "Waiting for the result: 0:07".
std::string ResultWaitText(std::int64_t seconds);

}  // namespace kvqt
