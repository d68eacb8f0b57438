// The split dialog's logic: which records a split proposed on a selected
// record covers, the ratio it proposes ("Split" B "for" A), and the checks of
// what the user entered before the split is applied.
#pragma once

#include <string>
#include <string_view>

#include "datetime/date.h"
#include "maintenance/record_array.h"

namespace kvqt {

inline constexpr const char* kSplitLastDayQuestion = "Split also last day of datafile?";
inline constexpr const char* kIllegalSplitFactorText = "Illegal split factor";

// A split the service announced: its date and factor.
struct AnnouncedSplit {
  Date date;
  float factor = 0;
};

struct SplitProposal {
  Date startDate;    // the date of record 1
  int endIndex = 0;  // the last record the split covers
  Date endDate;      // its date
  double a = 1;      // "for" A (field 372)
  double b = 1;      // "Split" B (field 373)
};

// True when the split is proposed on the last record without an announced
// split: the view then asks kSplitLastDayQuestion and passes the answer on.
bool AsksSplitLastDay(const RecordArray& records, int selected, const AnnouncedSplit* announced);

// The proposal for the selected record k: records 1 to k - 1, or to the last
// record when k is the last one and either the announced split is dated after
// it or the user said so. The ratio comes from the announced factor f (f up to
// 1: A = 1, B = 1/f; above 1: A = f, B = 1), else from the price jump between
// the last covered record and the next one, rounded to one decimal.
SplitProposal ProposeSplit(const RecordArray& records, int selected, const AnnouncedSplit* announced,
                           bool splitLastDay);

// The price ratio between record e and record e + 1: the open of e + 1 over
// the close of e, or the close of e + 1 when either record has no open. A
// ratio that cannot be formed (no close on record e, no price on e + 1) is 1.
double PriceJump(const PriceRecord& before, const PriceRecord& after);

// "%.2f" of A or B.
std::string SplitNumberText(double value);

// The split dialog's fields as the proposal fills them: start date (172), end
// date (173), A (372) and B (373).
struct SplitFormTexts {
  std::string start, end, a, b;
};
SplitFormTexts ProposalTexts(const SplitProposal& proposal);

// What the user entered, checked in the dialog's order.
struct SplitRequest {
  Date start;
  Date end;
  double a = 1;
  double b = 1;
  // The factor the prices are multiplied by (and the volumes divided by).
  double factor() const { return a / b; }
};
enum class SplitFormError { kNone, kStartDate, kEndDate, kFactorA, kFactorB };
SplitFormError ReadSplitForm(std::string_view startText, std::string_view endText, std::string_view aText,
                             std::string_view bText, SplitRequest& request);
// The message of an error: the invalid-date texts or "Illegal split factor".
const char* SplitFormErrorText(SplitFormError error);

}  // namespace kvqt
