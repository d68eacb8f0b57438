#include "kvqt-info/sdb_verb.h"

#include <sstream>

#include "kvqt-info/info_output.h"
#include "kvqt-info/read_input.h"
#include "service/symbols/sdb_file.h"

namespace kvqt::info {
namespace {

void PrintItem(std::ostream& out, const char* kind, const SinItem& r) {
  out << InfoLine(kind).integer("code", r.code).text("name", r.name.view()).str() << '\n';
}

void PrintInstrument(std::ostream& out, const SinInstrument& r) {
  out << InfoLine("instrument")
             .integer("sincode", r.sincode)
             .text("symbol", r.symbol.view())
             .text("name", r.name.view())
             .integer("currency", r.currency)
             .integer("exchange", r.exchange)
             .integer("securitytype", r.security_type)
             .date("startdate", r.start_date)
             .date("seconddate", r.second_date)
             .str()
      << '\n';
}

void PrintSplitFactor(std::ostream& out, const SinSplitFactor& r) {
  out << InfoLine("split")
             .integer("sincode", r.sincode)
             .date("recorddate", r.record_date)
             .text("symbol", r.symbol.view())
             .date("splitdate", r.split_date)
             .real("factor", r.factor)
             .text("name", r.name.view())
             .integer("applied", r.applied ? 1 : 0)
             .str()
      << '\n';
}

}  // namespace

int RunSdbVerb(const std::string& path, std::ostream& out, std::ostream& err) {
  std::string bytes;
  if (!ReadInput(path, bytes, err)) return 1;
  SdbTables tables;
  SdbLayout layout = SdbLayout::kCurrent;
  std::string error;
  if (ParseSdb(bytes, tables, &layout, &error) != 0) {
    err << "kvqt-info: " << path << ": not a symbol table: " << error << '\n';
    return 1;
  }
  InfoLine head("sdb");
  if (layout == SdbLayout::kCurrent) {
    head.text("layout", "current").integer("version", sdb::kVersion);
  } else {
    head.text("layout", "earlier");
  }
  head.integer("currencies", tables.currencies.count())
      .integer("currencycapacity", tables.currencies.capacity())
      .integer("exchanges", tables.exchanges.count())
      .integer("exchangecapacity", tables.exchanges.capacity())
      .integer("instruments", tables.instruments.count())
      .integer("instrumentcapacity", tables.instruments.capacity())
      .integer("splits", tables.split_factors.count())
      .integer("splitcapacity", tables.split_factors.capacity());
  out << head.str() << '\n';
  for (const SinItem& r : tables.currencies.records()) PrintItem(out, "currency", r);
  for (const SinItem& r : tables.exchanges.records()) PrintItem(out, "exchange", r);
  for (const SinInstrument& r : tables.instruments.records()) PrintInstrument(out, r);
  for (const SinSplitFactor& r : tables.split_factors.records()) PrintSplitFactor(out, r);
  return 0;
}

}  // namespace kvqt::info
