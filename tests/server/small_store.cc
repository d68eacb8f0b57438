#include "small_store.h"

namespace kvqt::testing {

using namespace server;

std::unique_ptr<Store> MakeSmallStore(const std::string& path) {
  std::string error;
  std::unique_ptr<Store> store = Store::Open(path, true, &error);
  if (!store) return nullptr;
  store->Begin();
  store->PutExchange({1, "Test Exchange"});
  store->PutCurrency({1, "Euro"});
  store->PutInstrument({kAbc, "ABC", "Abc Industries", 1, 1, kSecurityStock, 20240102, 20240102, "", false});
  store->PutInstrument({502, "X.Y", "Punctuation & Co", 1, 1, kSecurityStock, 20240102, 20240102, "", false});
  store->PutInstrument({503, "NEW", "Renamed Holding", 1, 1, kSecurityStock, 20231002, 20240301, "OLD", false});
  store->PutInstrument({504, "GONE", "Delisted Company", 1, 1, kSecurityStock, 20231002, 20240201, "", true});
  store->PutInstrument({505, "OPT1", "Abc Call 12 Mar", 1, 1, kSecurityOption, 20240305, 20240305, "", false});
  const int days[] = {20240102, 20240103, 20240104, 20240105, 20240108, 20240109, 20240110, 20240111, 20240112};
  double close = 10.5;
  for (int day : days) {
    store->PutDaily(kAbc, {day, close - 0.5, close + 1, close - 1, close, 1000 + day % 100});
    close += 1;
  }
  store->PutDaily(503, {20240112, 20, 21, 19, 20.25, 500});
  for (int day : {20240111, 20240112}) {
    for (int m = 0; m < 10; ++m) {
      double base = 100 + m;
      store->PutBar(kAbc, {day, 900 + m, base, base + 0.5, base - 0.5, base + 0.25, 100 * (m + 1)});
    }
  }
  store->PutTick(kAbc, {20240112, 90005, 0, 100.0, 300});
  store->PutTick(kAbc, {20240112, 90005, 1, 100.05, 200});
  store->PutTick(kAbc, {20240112, 90130, 0, 101.5, 100});
  store->PutSplit({kAbc, 20240105, 20240108, 0.5});
  store->PutUser({"demo0vqx", "demopass", "Unlimited", true});
  store->PutUser({"gone0vqx", "gonepass", "Ended", false});
  store->Commit();
  return store;
}

}  // namespace kvqt::testing
