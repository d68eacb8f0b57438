#include "service/session/session_progress_text.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

TEST(SessionProgressTextTest, TransferPercentagesAreReadFromTheStatusTexts) {
  const struct {
    const char* status;
    int percent;  // -1: not a transfer percentage
    TransferDirection direction;
  } cases[] = {
      {"Sent: 0%", 0, TransferDirection::kSent},
      {"Sent: 42%", 42, TransferDirection::kSent},
      {"Received: 7%", 7, TransferDirection::kReceived},
      {"Received: 100%", 100, TransferDirection::kReceived},
      {"Received: 101%", -1, {}},
      {"Received: 1000%", -1, {}},
      {"Received: %", -1, {}},
      {"Received: -5%", -1, {}},
      {"Received: 5", -1, {}},
      {"Received: 5% ", -1, {}},
      {"Received:5%", -1, {}},
      {"Sent: 4x%", -1, {}},
      {"Receiving datafile", -1, {}},
      {"", -1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    const auto parsed = ParseTransferPercent(c.status);
    if (c.percent < 0) {
      EXPECT_FALSE(parsed.has_value());
    } else {
      ASSERT_TRUE(parsed.has_value());
      EXPECT_EQ(parsed->percent, c.percent);
      EXPECT_EQ(parsed->direction, c.direction);
    }
  }
}

TEST(SessionProgressTextTest, TheStatusesThatMarkTheSessionsStages) {
  EXPECT_TRUE(BeginsSession("Creating definition file"));
  EXPECT_FALSE(BeginsSession("Can't create definition file"));
  EXPECT_TRUE(BeginsResultWait("Creating datafile\nCredit: Unlimited"));
  EXPECT_TRUE(BeginsResultWait("Creating datafile\nCredit: "));
  EXPECT_FALSE(BeginsResultWait("Creating definition file"));
  EXPECT_FALSE(BeginsResultWait("Timeout while waiting for result"));
  EXPECT_TRUE(BeginsReceive("Receiving datafile"));
  EXPECT_FALSE(BeginsReceive("Receiving datafile failed"));
  EXPECT_TRUE(EndsReceive("Close session"));
  EXPECT_FALSE(EndsReceive("Receiving datafile failed"));
}

TEST(SessionProgressTextTest, ElapsedTimeInMinutesAndSecondsThenHours) {
  const struct {
    std::int64_t seconds;
    const char* text;
  } cases[] = {
      {0, "0:00"},       {7, "0:07"},        {59, "0:59"},        {60, "1:00"},     {754, "12:34"},
      {3599, "59:59"},   {3600, "1:00:00"},  {3661, "1:01:01"},   {-3, "0:00"},     {36000, "10:00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(ElapsedText(c.seconds), c.text) << c.seconds;
  EXPECT_EQ(ResultWaitText(42), "Waiting for the result: 0:42");
}

}  // namespace
}  // namespace kvqt
