// The price factor of a data file applied to an imported record.
#include "service/import/price_factor.h"

#include <gtest/gtest.h>

namespace kvqt {
namespace {

PriceRecord Prices(float open, float high, float low, float close, float volume) {
  PriceRecord r;
  r.open = open;
  r.high = high;
  r.low = low;
  r.close = close;
  r.volume = volume;
  return r;
}

TEST(PriceFactorTest, PositiveNegativeAndNeutralFactors) {
  struct Case {
    float factor;
    PriceRecord in;
    PriceRecord out;
  } cases[] = {
      {0.5f, Prices(8, 12, 6, 10, 1000), Prices(4, 6, 3, 5, 2000)},
      {2.0f, Prices(0, 12, 6, 10, 1000), Prices(0, 24, 12, 20, 500)},
      {-1.0f, Prices(4, 5, 2, 4, 1000), Prices(25, 20, 50, 25, 0.1f)},
      {-2.0f, Prices(0, 5, 2, 4, 0), Prices(0, 10, 25, 12.5f, 0)},
      {1.0f, Prices(4, 5, 2, 4, 1000), Prices(4, 5, 2, 4, 1000)},
      {0.0f, Prices(4, 5, 2, 4, 1000), Prices(4, 5, 2, 4, 1000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.factor);
    PriceRecord r = c.in;
    ApplyPriceFactor(r, c.factor);
    EXPECT_FLOAT_EQ(r.open, c.out.open);
    EXPECT_FLOAT_EQ(r.high, c.out.high);
    EXPECT_FLOAT_EQ(r.low, c.out.low);
    EXPECT_FLOAT_EQ(r.close, c.out.close);
    EXPECT_FLOAT_EQ(r.volume, c.out.volume);
  }
}

}  // namespace
}  // namespace kvqt
