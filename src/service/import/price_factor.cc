#include "service/import/price_factor.h"

namespace kvqt {

void ApplyPriceFactor(PriceRecord& record, float factor) {
  if (factor == 0.0f || factor == 1.0f) return;
  float* prices[] = {&record.open, &record.high, &record.low, &record.close};
  if (factor > 0.0f) {
    record.volume /= factor;
    for (float* p : prices) *p *= factor;
    return;
  }
  const float f = -factor;
  // A value of 0 (a missing open, no volume) stays 0.
  for (float* p : prices)
    if (*p != 0.0f) *p = 100.0f / (*p * f);
  if (record.volume != 0.0f) record.volume = 100.0f / (record.volume / f);
}

}  // namespace kvqt
