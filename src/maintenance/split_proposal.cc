#include "maintenance/split_proposal.h"

#include <cmath>
#include <limits>

#include "datetime/parse_date.h"
#include "maintenance/decimal_text.h"

namespace kvqt {
namespace {

double RoundToTenth(double x) { return std::floor(x * 10 + 0.5) * 0.1; }

bool Usable(double x) { return std::isfinite(x) && x > 0; }

// A factor that a 32-bit price can be multiplied by at all.
bool UsableFactor(double x) {
  return Usable(x) && x <= std::numeric_limits<float>::max() && x >= std::numeric_limits<float>::min();
}

// Sets A and B from a ratio r: r of 1 or more gives A = r, B = 1, below 1
// A = 1, B = 1 / r.
void FromRatio(double r, SplitProposal& p) {
  if (r >= 1) {
    p.a = r;
    p.b = 1;
  } else {
    p.a = 1;
    p.b = 1 / r;
  }
}

}  // namespace

bool AsksSplitLastDay(const RecordArray& records, int selected, const AnnouncedSplit* announced) {
  return announced == nullptr && selected >= 1 && selected == records.count();
}

double PriceJump(const PriceRecord& before, const PriceRecord& after) {
  double close = before.close;
  double next = before.open != 0 && after.open != 0 ? after.open : after.close;
  if (close == 0) return 1;
  double r = next / close;
  // A missing price on either side is no split.
  return Usable(r) ? r : 1;
}

SplitProposal ProposeSplit(const RecordArray& records, int selected, const AnnouncedSplit* announced,
                           bool splitLastDay) {
  SplitProposal p;
  int count = records.count();
  p.startDate = records.at(1).date;
  int e = selected - 1;
  if (selected == count) {
    if (announced ? records.at(count).date.value() < announced->date.value() : splitLastDay) e = count;
  }
  if (e < 0) e = 0;
  if (e > count) e = count;
  p.endIndex = e;
  p.endDate = records.at(e).date;

  if (announced) {
    double f = announced->factor;
    // A factor of 0 or less (or none at all) from the service proposes no change.
    if (Usable(f)) {
      if (f <= 1) {
        p.a = 1;
        p.b = 1 / f;
      } else {
        p.a = f;
        p.b = 1;
      }
    }
  } else if (e < count) {
    FromRatio(PriceJump(records.at(e), records.at(e + 1)), p);
    p.a = RoundToTenth(p.a);
    p.b = RoundToTenth(p.b);
  }
  return p;
}

std::string SplitNumberText(double value) { return FixedText(value, 2); }

SplitFormTexts ProposalTexts(const SplitProposal& p) {
  auto date = [](Date d) {
    return std::to_string(d.day()) + "/" + std::to_string(d.month()) + "/" + std::to_string(d.year());
  };
  return {date(p.startDate), date(p.endDate), SplitNumberText(p.a), SplitNumberText(p.b)};
}

SplitFormError ReadSplitForm(std::string_view startText, std::string_view endText, std::string_view aText,
                             std::string_view bText, SplitRequest& request) {
  request.start = ParseUserDate(startText);
  if (request.start.isNull()) return SplitFormError::kStartDate;
  request.end = ParseUserDate(endText);
  if (request.end.isNull()) return SplitFormError::kEndDate;
  request.a = ParseFloatText(aText);
  if (!(request.a > 0)) return SplitFormError::kFactorA;
  request.b = ParseFloatText(bText);
  // A ratio too far out for a price is refused like a factor of 0.
  if (!(request.b > 0) || !UsableFactor(request.factor())) return SplitFormError::kFactorB;
  return SplitFormError::kNone;
}

const char* SplitFormErrorText(SplitFormError error) {
  switch (error) {
    case SplitFormError::kNone:
      return "";
    case SplitFormError::kStartDate:
      return kInvalidStartDateText;
    case SplitFormError::kEndDate:
      return kInvalidEndDateText;
    case SplitFormError::kFactorA:
    case SplitFormError::kFactorB:
      return kIllegalSplitFactorText;
  }
  return "";
}

}  // namespace kvqt
