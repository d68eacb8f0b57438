#include "maintenance/security_types.h"

namespace kvqt {
namespace {

constexpr SecurityTypeButton kButtons[] = {
    {404, "Stocks", 16},      {401, "Indices", 0},       {402, "Commodities", 2}, {403, "Bonds", 32},
    {408, "Currencies", 3},   {405, "Interest", 1},      {406, "Warrants", 17},   {407, "Convertibles", 34},
    {409, "Yields", 33},      {410, "Options", 4},       {412, "Futures", 5},     {411, "Trackers", 61},
    {413, "Investment Funds", 18},
};

struct TypeName {
  int code;
  const char* name;
};

constexpr TypeName kNames[] = {
    {0, "Index"},     {1, "Interest"}, {2, "Commodity"},        {3, "Currency"},  {4, "Option"},
    {5, "Future"},    {15, "Miscellaneous"}, {16, "Share"},     {17, "Warrant"},  {18, "Investment Fund"},
    {32, "Bond"},     {33, "Yield"},   {34, "Convertible"},     {60, "Index"},    {61, "Tracker"},
};

}  // namespace

std::span<const SecurityTypeButton> SecurityTypeButtons() { return kButtons; }

const char* SecurityTypeName(int code) {
  for (const TypeName& t : kNames)
    if (t.code == code) return t.name;
  return "Other";
}

}  // namespace kvqt
